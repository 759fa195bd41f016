#pragma once

#include "board/order_board.h"
#include "platform/controls/controls.h"
#include "platform/services/diagnostics.h"
#include "platform/services/files.h"

#include <functional>
#include <string>

namespace tavren::board {

// Loads order files into the order buttons: the start-up load of "tavren.txt"
// with its directive lines, and the load of a file the user picks ("読込").
// Both stop at the first failure, telling the user nothing (only the
// diagnostics); nothing already done is undone.
class OrderLoader {
public:
    struct Controls {
        const controls::ControlArray<controls::Button>& tavren;
        controls::CheckBox& chk_AllwaysonTop;
        controls::CheckBox& chk_rename;
        controls::TextField& servername;
        controls::Button& Command1; // "読込" on the hidden panel
    };
    // The handlers that the always-on-top and nick directives run explicitly.
    struct Handlers {
        std::function<void()> chk_AllwaysonTop_Click;
        std::function<void()> chk_rename_Click;
    };

    OrderLoader(Controls controls, Handlers handlers, OrderBoard& board, services::Files& files,
                services::TextCodec& codec, services::OpenDialog& dialog,
                services::Diagnostics& diagnostics = services::NoDiagnostics::instance());

    // Reads the order file of the working directory. False when it is missing or a
    // line failed: start-up then ends early.
    bool startUpLoad(const std::string& path = "tavren.txt");
    // Lets the user pick an order file and loads every line as an order.
    void Command1_Click();

private:
    std::optional<std::string> readText(const std::string& path);
    bool applyOrderLine(int index, std::string_view line);
    bool applyDirective(std::string_view line);
    void reportStop(const std::string& path, int lineNumber, std::string_view line,
                    std::string_view why);

    Controls c_;
    Handlers handlers_;
    OrderBoard& board_;
    services::Files& files_;
    services::TextCodec& codec_;
    services::OpenDialog& dialog_;
    services::Diagnostics& diagnostics_;
};

} // namespace tavren::board
