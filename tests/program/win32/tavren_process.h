#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavren::backend::win32::testing {

// tavren.exe (beside this program) running in a directory of its own with the
// order file given; terminated when this goes away if it did not end itself.
class TavrenProcess {
public:
    explicit TavrenProcess(const std::string& orderFile);
    ~TavrenProcess();
    TavrenProcess(const TavrenProcess&) = delete;
    TavrenProcess& operator=(const TavrenProcess&) = delete;

    // The main window, once it is shown (null when it never was).
    HWND mainWindow() const { return main_; }
    // A shown top-level window of the program with the caption given, once it
    // is there (null when it never was).
    HWND shownWindow(const std::wstring& caption) const;
    // The visible child windows of the main window (or of `top`) of a class
    // whose text is `text`.
    std::vector<HWND> children(const wchar_t* className, const std::wstring& text = {},
                               HWND top = nullptr) const;
    std::vector<HWND> visibleChildren(const wchar_t* className) const;
    // The window that has the keyboard focus in the program, or null.
    HWND focus() const;
    // True once the process ended within `milliseconds`.
    bool ended(DWORD milliseconds) const;

private:
    std::wstring directory_;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// The text of a window, as UTF-16.
std::wstring textOf(HWND window);

// Real input, as a user's: a click at the centre of a window (or `fromRight`
// pixels left of its right edge), and keys by virtual key, Shift held or not.
void click(HWND window, bool rightButton = false, int fromRight = -1);
void tapKey(WORD virtualKey, bool withShift = false);

// A path in the temporary directory, of this test program's own, for `name`.
std::wstring scratchPath(const wchar_t* name);
// A file's bytes as they are, without any conversion.
void writeBytes(const std::wstring& path, const std::string& bytes);
std::string readBytes(const std::wstring& path);

} // namespace tavren::backend::win32::testing
