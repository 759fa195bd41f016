#include "child_views.h"

#include "caption_metrics.h"
#include "stacking_order.h"
#include "wrapped_caption.h"

#include "platform/backend/win32/wide_text.h"
#include "platform/controls/caption_room.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace tavren::view::win32 {

using controls::Property;

COLORREF colourRef(unsigned colour) {
    if (controls::isSystemColour(colour)) return ::GetSysColor(controls::systemColourIndex(colour));
    return RGB(controls::red(colour), controls::green(colour), controls::blue(colour));
}

namespace {

constexpr UINT_PTR kSubclassId = 1;
// On a window a control is made of (a drop-down's edit field and list): the
// control's own window.
constexpr const wchar_t* kPartOfProperty = L"TavrenPartOf";

int currentShiftState() {
    int shift = controls::kNoShift;
    if (::GetKeyState(VK_SHIFT) < 0) shift |= controls::kShiftKey;
    if (::GetKeyState(VK_CONTROL) < 0) shift |= controls::kCtrlKey;
    if (::GetKeyState(VK_MENU) < 0) shift |= controls::kAltKey;
    return shift;
}

int shiftStateOf(WPARAM mouseKeys) {
    int shift = controls::kNoShift;
    if (mouseKeys & MK_SHIFT) shift |= controls::kShiftKey;
    if (mouseKeys & MK_CONTROL) shift |= controls::kCtrlKey;
    if (::GetKeyState(VK_MENU) < 0) shift |= controls::kAltKey;
    return shift;
}

HBRUSH formBackground(HDC dc) {
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

// A check box or option button a sibling above partly hides (the "0.0" button
// over the nick box) keeps the part beside it, its box and its caption there:
// the native control draws its caption across its whole window. A room to the
// right of the cover would leave the box under it: then the caption goes to the
// right of the caption area instead.
void shrinkToRoom(HWND window, const RECT& room, const RECT& area, const RECT& placed) {
    if (::EqualRect(&room, &area)) return;
    if (room.left == area.left) {
        ::SetWindowPos(window, nullptr, placed.left, room.top, room.right - placed.left,
                       room.bottom - room.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR wanted = (style & ~LONG_PTR{BS_CENTER}) | BS_RIGHT;
    if (wanted != style) ::SetWindowLongPtrW(window, GWL_STYLE, wanted);
}

HWND createControlWindow(const wchar_t* windowClass, DWORD style, HWND parent, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0,
                             0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// A solid GDI brush, deleted on every way out.
class SolidBrush {
public:
    explicit SolidBrush(COLORREF colour) : brush_(::CreateSolidBrush(colour)) {}
    ~SolidBrush() { ::DeleteObject(brush_); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH get() const { return brush_; }

private:
    HBRUSH brush_;
};

class FrameView : public ChildView {
public:
    using ChildView::ChildView;
    void apply(Property property) override {
        if (property == Property::ZOrder) {
            context_.registry->restackChildren(control(), context_.scale);
            return;
        }
        ChildView::apply(property);
    }
};

class LabelView : public ChildView {
public:
    LabelView(controls::Label& label, HWND window, ViewContext context)
        : ChildView(label, window, context), label_(label) {}
    void apply(Property property) override {
        if (property == Property::Colour) ::InvalidateRect(hwnd(), nullptr, TRUE);
        ChildView::apply(property);
    }
    HBRUSH colours(HDC dc) override {
        ::SetTextColor(dc, colourRef(label_.foreColour()));
        return formBackground(dc);
    }

protected:
    const std::string* caption() const override { return &label_.caption(); }

private:
    controls::Label& label_;
};

// Reports the presses and releases of every mouse button to a push button. The
// second press of a double click is a press all the same: the window takes it as
// one, which owner-drawn buttons would otherwise not.
class ButtonView : public ChildView {
public:
    ButtonView(controls::Button& button, HWND window, ViewContext context)
        : ChildView(button, window, context), button_(button) {
        ::SetWindowSubclass(window, &ButtonView::mouseProc, kSubclassId,
                            reinterpret_cast<DWORD_PTR>(this));
    }
    void apply(Property property) override {
        if (property == Property::Caption) ::InvalidateRect(hwnd(), nullptr, TRUE);
        if (property == Property::Colour) {
            const DWORD type = ownerDrawn() ? BS_OWNERDRAW : BS_PUSHBUTTON;
            if ((::GetWindowLongPtrW(hwnd(), GWL_STYLE) & BS_TYPEMASK) != type) {
                ::SendMessageW(hwnd(), BM_SETSTYLE, type | BS_MULTILINE, TRUE);
                showCaptionText();
            }
            ::InvalidateRect(hwnd(), nullptr, TRUE);
        }
        ChildView::apply(property);
    }
    void command(WORD code) override {
        if (code == BN_CLICKED) button_.click();
    }
    bool draw(const DRAWITEMSTRUCT& item) override;

protected:
    const std::string* caption() const override { return &button_.caption(); }
    bool drawsCaption() const override { return ownerDrawn(); }
    RECT captionArea(const RECT& client) const override {
        return captionAreaOf(controls::Kind::Button, client);
    }

private:
    // Order buttons (the elements of an array) and buttons in a colour of their
    // own are drawn here: the themed button ignores both colour and wrapping.
    bool ownerDrawn() const {
        return button_.index() >= 0 || button_.backColour() != controls::kButtonFace;
    }
    static LRESULT CALLBACK mouseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    bool report(UINT message, WPARAM wParam, LPARAM lParam);

    controls::Button& button_;
};

bool ButtonView::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const SolidBrush face(colourRef(button_.backColour()));
    ::FillRect(dc, &area, face.get());
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT inner = area;
    ::InflateRect(&inner, -2, -2);
    if (pressed) ::OffsetRect(&inner, 1, 1);
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    // The lines as fitted to the caption area, which lies inside `inner`.
    if (const WrappedCaption* caption = wrappedCaption()) caption->drawCentred(dc, inner);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = area;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    return true;
}

bool ButtonView::report(UINT message, WPARAM wParam, LPARAM lParam) {
    int button = 0;
    bool press = true;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        button = controls::kLeftButton;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        button = controls::kRightButton;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        button = controls::kMiddleButton;
        break;
    case WM_LBUTTONUP:
        button = controls::kLeftButton;
        press = false;
        break;
    case WM_RBUTTONUP:
        button = controls::kRightButton;
        press = false;
        break;
    case WM_MBUTTONUP:
        button = controls::kMiddleButton;
        press = false;
        break;
    default:
        return false;
    }
    const POINTS at = MAKEPOINTS(lParam);
    const controls::MouseEvent event{button, shiftStateOf(wParam), at.x * context_.scale.perPixelX,
                                     at.y * context_.scale.perPixelY};
    if (press)
        button_.pressMouse(event);
    else
        button_.releaseMouse(event);
    return true;
}

LRESULT CALLBACK ButtonView::mouseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &ButtonView::mouseProc, id);
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    auto* button = reinterpret_cast<ButtonView*>(self);
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        // The push button takes the press (the mouse and its pushed look)
        // before the press's handler runs: an order types while it processes
        // pending events, and the user's release taken up there must find the
        // button pressed, or the button would keep the mouse and the next click
        // anywhere would press it again.
        const LRESULT result = ::DefSubclassProc(window, WM_LBUTTONDOWN, wParam, lParam);
        button->report(message, wParam, lParam);
        return result;
    }
    // Only the left button presses the push button; the others stop here.
    if (button->report(message, wParam, lParam) && message != WM_LBUTTONUP) return 0;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

class CheckBoxView : public ChildView {
public:
    CheckBoxView(controls::CheckBox& box, HWND window, ViewContext context)
        : ChildView(box, window, context), box_(box) {}
    void apply(Property property) override {
        if (property == Property::Value) {
            const WPARAM state = box_.value() == 0   ? BST_UNCHECKED
                                 : box_.value() == 1 ? BST_CHECKED
                                                     : BST_INDETERMINATE;
            ::SendMessageW(hwnd(), BM_SETCHECK, state, 0);
        }
        ChildView::apply(property);
    }
    // The window leaves its state alone (not an automatic box): the control
    // decides the next state.
    void command(WORD code) override {
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) box_.toggleByUser();
    }
    HBRUSH colours(HDC dc) override { return formBackground(dc); }

protected:
    const std::string* caption() const override { return &box_.caption(); }
    RECT captionArea(const RECT& client) const override {
        return captionAreaOf(controls::Kind::CheckBox, client);
    }
    void placeCaption(const RECT& room, const RECT& area, const RECT& placed) override {
        shrinkToRoom(hwnd(), room, area, placed);
    }

private:
    controls::CheckBox& box_;
};

// Of a group of options, Tab stops at the selected one (at the first while
// none is): an option that takes the focus unselected tells its container it
// was clicked, so tabbing through every option would select each in turn.
// The arrow keys move within the group, selecting as they go.
class OptionButtonView : public ChildView {
public:
    OptionButtonView(controls::OptionButton& option, HWND window, ViewContext context)
        : ChildView(option, window, context), option_(option) {}
    void apply(Property property) override {
        if (property == Property::Value) {
            ::SendMessageW(hwnd(), BM_SETCHECK, option_.value() ? BST_CHECKED : BST_UNCHECKED, 0);
            markTabStops(*option_.parent(), *context_.registry);
        }
        ChildView::apply(property);
    }
    // A click on the option, selected or not, is the user's click; a quick
    // second one arrives as a double click.
    void command(WORD code) override {
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED) option_.clickByUser();
    }
    HBRUSH colours(HDC dc) override { return formBackground(dc); }

protected:
    const std::string* caption() const override { return &option_.caption(); }
    RECT captionArea(const RECT& client) const override {
        return captionAreaOf(controls::Kind::OptionButton, client);
    }
    void placeCaption(const RECT& room, const RECT& area, const RECT& placed) override {
        shrinkToRoom(hwnd(), room, area, placed);
    }

private:
    static void markTabStops(const controls::Control& container, const WindowRegistry& registry);

    controls::OptionButton& option_;
};

void OptionButtonView::markTabStops(const controls::Control& container,
                                    const WindowRegistry& registry) {
    std::vector<const controls::OptionButton*> options;
    for (const controls::Control* child : container.children())
        if (child->kind() == controls::Kind::OptionButton)
            options.push_back(static_cast<const controls::OptionButton*>(child));
    const bool noneSelected =
        std::none_of(options.begin(), options.end(), [](const auto* o) { return o->value(); });
    for (const controls::OptionButton* option : options) {
        HWND window = registry.find(*option);
        if (!window) continue;
        const bool stop = option->value() || (noneSelected && option == options.front());
        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        const LONG_PTR wanted = stop ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP};
        if (wanted != style) ::SetWindowLongPtrW(window, GWL_STYLE, wanted);
    }
}

// Reports the keys pressed in the field before the field edits its text. It
// asks the dialog manager for every key but Tab, which moves the focus on:
// Enter above all, the send box's key for sending, which the dialog manager
// would take for the window's default button.
class TextFieldView : public ChildView {
public:
    TextFieldView(controls::TextField& field, HWND window, ViewContext context)
        : ChildView(field, window, context), field_(field) {
        ::SetWindowSubclass(window, &TextFieldView::keyProc, kSubclassId,
                            reinterpret_cast<DWORD_PTR>(this));
    }
    void apply(Property property) override {
        if (property == Property::Text) showText(field_.text());
        ChildView::apply(property);
    }
    void command(WORD code) override {
        if (code == EN_CHANGE && !isEcho()) field_.setText(windowText());
    }

private:
    static LRESULT CALLBACK keyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self) {
        if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(window, &TextFieldView::keyProc, id);
        } else if (message == WM_GETDLGCODE) {
            LRESULT code = ::DefSubclassProc(window, message, wParam, lParam);
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam != VK_TAB)
                code |= DLGC_WANTALLKEYS;
            return code;
        } else if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam != VK_PROCESSKEY) {
            reinterpret_cast<TextFieldView*>(self)->field_.pressKey(static_cast<int>(wParam),
                                                                    currentShiftState());
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }

    controls::TextField& field_;
};

// An editable drop-down list. Only the user's own edits reach the control as
// text: a pick from the list is a pick.
class ComboBoxView : public ChildView {
public:
    static constexpr int kListRows = 12;

    ComboBoxView(controls::ComboBox& combo, HWND window, ViewContext context)
        : ChildView(combo, window, context), combo_(combo) {
        // Its edit field and list ask for their colours through the drop-down,
        // naming themselves; the list is not even its child (it drops over
        // other windows), so both are marked as its own.
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (::GetComboBoxInfo(window, &parts)) {
            for (HWND part : {parts.hwndItem, parts.hwndList})
                if (part) ::SetPropW(part, kPartOfProperty, window);
        }
    }
    void apply(Property property) override;
    void command(WORD code) override {
        if (isEcho()) return;
        // Enter on the entry the open list found for the typed text takes it
        // (CBN_SELENDOK without a CBN_SELCHANGE): the list's selection is the pick.
        if (code == CBN_SELCHANGE || code == CBN_SELENDOK) {
            const auto position = ::SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
            if (position != CB_ERR) combo_.setListIndex(static_cast<int>(position));
        }
        if (code == CBN_EDITCHANGE) combo_.setText(windowText());
    }

    // The edit field and the open list ask through the drop-down (it passes
    // their WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX on to its parent).
    HBRUSH colours(HDC dc) override {
        const COLORREF colour = colourRef(combo_.backColour());
        ::SetBkColor(dc, colour);
        if (!brush_ || brushColour_ != colour) {
            brush_ = std::make_unique<SolidBrush>(colour);
            brushColour_ = colour;
        }
        return brush_->get();
    }

protected:
    // The window's height holds the open list below the edit field as well.
    void applyGeometry() override {
        const RECT r = toRect(context_.scale, control().geometry());
        const auto row = ::SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0);
        const int listHeight = static_cast<int>(row > 0 ? row : 16) * kListRows;
        ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left,
                       r.bottom - r.top + listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    void showPick();

    controls::ComboBox& combo_;
    std::unique_ptr<SolidBrush> brush_;
    COLORREF brushColour_ = 0;
};

void ComboBoxView::apply(Property property) {
    switch (property) {
    case Property::Items: {
        ::SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : combo_.items())
            ::SendMessageW(hwnd(), CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(backend::win32::utf8ToWide(item).c_str()));
        showPick();
        break;
    }
    case Property::Value:
        showPick();
        break;
    case Property::Text:
        showText(combo_.text());
        break;
    case Property::Colour:
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    default:
        ChildView::apply(property);
    }
}

void ComboBoxView::showPick() {
    // Marking no entry empties the edit field: a pick dropped by the user's
    // typing leaves the text as typed and the cursor where the typing is.
    DWORD selStart = 0;
    DWORD selEnd = 0;
    ::SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&selStart),
                   reinterpret_cast<LPARAM>(&selEnd));
    const std::string before = windowText();
    const auto current = ::SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
    if (current != combo_.listIndex())
        ::SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.listIndex()), 0);
    showText(combo_.text());
    if (combo_.text() == before)
        ::SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(selStart, selEnd));
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleChildMessage(message, wParam, lParam, result)) return result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

ChildView::ChildView(controls::Control& control, HWND window, ViewContext context)
    : ControlView(control), context_(context), window_(window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(context.font->handle()), FALSE);
}

ChildView* ChildView::of(HWND window) {
    // Every child of a form's or a frame's window is one of the view's.
    if (!window) return nullptr;
    return reinterpret_cast<ChildView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void ChildView::apply(Property property) {
    switch (property) {
    case Property::Geometry:
        applyGeometry();
        fitCaption();
        clearLabelsBeneath();
        break;
    case Property::Caption:
        fitCaption();
        break;
    case Property::Visible:
        ::ShowWindow(window_, control().visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case Property::Enabled:
        ::EnableWindow(window_, control().enabled());
        break;
    default:
        break;
    }
}

void ChildView::applyGeometry() {
    const RECT r = toRect(context_.scale, control().geometry());
    ::SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// The sibling windows stacked above `control` whose rectangles hide part of it.
std::vector<RECT> coversOf(const controls::Control& control, const TwipsScale& scale) {
    std::vector<RECT> covers;
    const controls::Control* parent = control.parent();
    if (!parent) return covers;
    std::vector<StackedChild> siblings;
    for (const controls::Control* c : parent->children())
        siblings.push_back({c, static_cast<int>(siblings.size())});
    for (const controls::Control* above : stackingOrder(siblings, scale)) {
        if (above == &control) break;
        if (!above->visible() || above->kind() == controls::Kind::MenuItem ||
            above->kind() == controls::Kind::Timer)
            continue;
        covers.push_back(toRect(scale, above->geometry()));
    }
    return covers;
}

controls::PixelEdges edgesOf(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

} // namespace

void ChildView::fitCaption() {
    const std::string* text = caption();
    if (!text) return;
    // The caption area in the parent's pixels, less what siblings above hide.
    const RECT placed = toRect(context_.scale, control().geometry());
    RECT client{0, 0, placed.right - placed.left, placed.bottom - placed.top};
    RECT area = captionArea(client);
    ::OffsetRect(&area, placed.left, placed.top);
    controls::PixelEdges room = edgesOf(area);
    // A label lies beneath the windows over it, which leave its caption uncovered
    // (see clearLabelsBeneath).
    if (control().kind() != controls::Kind::Label) {
        for (const RECT& cover : coversOf(control(), context_.scale))
            room = controls::captionRoomBeside(room, edgesOf(cover));
    }
    auto wrapped = std::make_unique<WrappedCaption>(
        *text, context_.font->description(), context_.font->pixelSize(),
        SIZE{room.right - room.left, room.bottom - room.top});
    ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(wrapped->font()), TRUE);
    wrapped_ = std::move(wrapped); // the window's previous font goes only once it is let go
    placeCaption(RECT{room.left, room.top, room.right, room.bottom}, area, placed);
    showCaptionText();
}

// A native control breaks its caption where its text has line breaks, and
// elsewhere only where a line is wider than its caption area, which the fitted
// lines never are: the lines it shows are the shared rule's. The control keeps
// its caption as it is.
void ChildView::showCaptionText() {
    const std::string* text = caption();
    if (!text || !wrapped_) return;
    showText(drawsCaption() ? *text : wrapped_->brokenText());
}

void ChildView::placeCaption(const RECT&, const RECT&, const RECT&) {}

// The designs put labels under the top corner of an option group ("縦" and "横"
// under the circles of "2"): a window over a label leaves the label's lines
// out of its window region, so that they show, as a label drawn above it would.
void ChildView::clearLabelsBeneath() {
    const controls::Control* parent = control().parent();
    // A panel in front of a label hides it on purpose.
    if (!parent || control().kind() == controls::Kind::Label ||
        control().kind() == controls::Kind::Frame)
        return;
    RECT placed{};
    ::GetWindowRect(window_, &placed);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window_), reinterpret_cast<POINT*>(&placed), 2);
    HRGN shape = ::CreateRectRgn(0, 0, placed.right - placed.left, placed.bottom - placed.top);
    bool cut = false;
    for (const controls::Control* sibling : parent->children()) {
        if (sibling->kind() != controls::Kind::Label || !sibling->visible()) continue;
        const auto& label = static_cast<const controls::Label&>(*sibling);
        if (label.caption().empty()) continue;
        const RECT area = toRect(context_.scale, label.geometry());
        RECT overlap{};
        if (!::IntersectRect(&overlap, &area, &placed)) continue;
        const text::CaptionFit fit =
            fitCaptionIn(label.caption(), context_.font->description(), context_.font->pixelSize(),
                         SIZE{area.right - area.left, area.bottom - area.top});
        // The lines of a caption of more lines are taken as wide as the label.
        int widest = area.right - area.left;
        if (fit.lines.size() == 1) {
            const GdiCaptionMetrics metrics(context_.font->description());
            widest = metrics.lineWidth(fit.lines.front(), fit.pixelSize);
        }
        HRGN lines =
            ::CreateRectRgn(area.left - placed.left, area.top - placed.top,
                            area.left - placed.left + widest, area.top - placed.top + fit.height());
        cut = ::CombineRgn(shape, shape, lines, RGN_DIFF) != ERROR || cut;
        ::DeleteObject(lines);
    }
    if (cut) {
        ::SetWindowRgn(window_, shape, TRUE); // the window owns the region from here
    } else {
        ::DeleteObject(shape);
        ::SetWindowRgn(window_, nullptr, TRUE);
    }
}

RECT captionAreaOf(controls::Kind kind, const RECT& client) {
    RECT area = client;
    switch (kind) {
    case controls::Kind::CheckBox:
    case controls::Kind::OptionButton: {
        // The box or circle and the gap after it: a menu check mark's width
        // and a third as much again, at least what the control itself leaves.
        const int mark = ::GetSystemMetrics(SM_CXMENUCHECK);
        area.left += mark + mark / 3;
        break;
    }
    case controls::Kind::Button:
        // The raised edge and the focus rectangle inside it.
        ::InflateRect(&area, -3, -3);
        break;
    default:
        break;
    }
    if (area.right < area.left) area.right = area.left;
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

HBRUSH ChildView::colours(HDC) {
    return nullptr;
}

void ChildView::showText(const std::string& utf8) {
    if (windowText() == utf8) return;
    ::SetWindowTextW(window_, backend::win32::utf8ToWide(utf8).c_str());
}

std::string ChildView::windowText() const {
    const int length = ::GetWindowTextLengthW(window_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return backend::win32::wideToUtf8(text);
}

const wchar_t* frameWindowClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &frameProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        // Panels overlap: the one in front hides the others completely.
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TavrenFrame";
        ::RegisterClassExW(&wc);
        return L"TavrenFrame";
    }();
    return name;
}

bool handleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (ChildView* child = ChildView::of(reinterpret_cast<HWND>(lParam))) {
            child->command(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ChildView* child = ChildView::of(item->hwndItem);
        if (!child || !child->draw(*item)) return false;
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        auto window = reinterpret_cast<HWND>(lParam);
        if (HANDLE whole = ::GetPropW(window, kPartOfProperty)) window = static_cast<HWND>(whole);
        if (ChildView* child = ChildView::of(window)) {
            if (HBRUSH brush = child->colours(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    }
    default:
        return false;
    }
}

std::unique_ptr<ChildView> createChildView(controls::Control& control, HWND parent,
                                           const ViewContext& context) {
    using controls::Kind;
    switch (control.kind()) {
    case Kind::Frame:
        // The dialog manager's Tab goes through the controls a frame holds.
        return std::make_unique<FrameView>(
            control,
            createControlWindow(frameWindowClass(), WS_CLIPCHILDREN, parent, WS_EX_CONTROLPARENT),
            context);
    case Kind::Label:
        return std::make_unique<LabelView>(
            static_cast<controls::Label&>(control),
            createControlWindow(L"STATIC", SS_LEFT | SS_NOPREFIX, parent), context);
    case Kind::Button:
        return std::make_unique<ButtonView>(
            static_cast<controls::Button&>(control),
            createControlWindow(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, parent),
            context);
    case Kind::CheckBox:
        return std::make_unique<CheckBoxView>(
            static_cast<controls::CheckBox&>(control),
            createControlWindow(L"BUTTON", WS_TABSTOP | BS_3STATE | BS_MULTILINE, parent), context);
    case Kind::OptionButton: {
        // The first option of its container starts the group its frame holds.
        const auto& siblings = control.parent()->children();
        const auto first = std::find_if(siblings.begin(), siblings.end(), [](const auto* c) {
            return c->kind() == Kind::OptionButton;
        });
        const DWORD group = (first != siblings.end() && *first == &control) ? WS_GROUP : 0;
        return std::make_unique<OptionButtonView>(
            static_cast<controls::OptionButton&>(control),
            createControlWindow(L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | group, parent), context);
    }
    case Kind::TextField:
        return std::make_unique<TextFieldView>(
            static_cast<controls::TextField&>(control),
            createControlWindow(L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, parent), context);
    case Kind::ComboBox:
        return std::make_unique<ComboBoxView>(
            static_cast<controls::ComboBox&>(control),
            createControlWindow(L"COMBOBOX",
                                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, parent),
            context);
    case Kind::Form:
    case Kind::MenuItem:
    case Kind::Timer:
        break;
    }
    return nullptr;
}

} // namespace tavren::view::win32
