#include "order_loader.h"

#include "board/order_file.h"

namespace tavren::board {

OrderLoader::OrderLoader(Controls controls, Handlers handlers, OrderBoard& board,
                         services::Files& files, services::TextCodec& codec,
                         services::OpenDialog& dialog)
    : c_(controls), handlers_(std::move(handlers)), board_(board), files_(files), codec_(codec),
      dialog_(dialog) {
    c_.Command1.clicked.connect([this] { Command1_Click(); });
}

std::optional<std::string> OrderLoader::readText(const std::string& path) {
    auto bytes = files_.readPrefix(path, kOrderFileReadRequest);
    if (!bytes) return std::nullopt;
    const bool truncated = bytes->size() > kOrderFileReadLimit;
    if (truncated) bytes->resize(kOrderFileReadLimit);
    return decodeOrderFile(std::move(*bytes), truncated,
                           [this](const std::string& b) { return codec_.legacyToUtf8(b); });
}

bool OrderLoader::applyOrderLine(int index, std::string_view line) {
    const auto order = parseOrderLine(line);
    if (!order) return false;
    controls::Button& button = c_.tavren[index];
    if (order->colour) button.setBackColour(*order->colour);
    button.setCaption(order->caption);
    return true;
}

bool OrderLoader::applyDirective(std::string_view line) {
    const auto directive = parseDirective(line);
    if (!directive) return true; // a comment line
    switch (directive->kind) {
    case DirectiveKind::Rows:
        return directive->digit < 0 || board_.OpT_Click(directive->digit);
    case DirectiveKind::Columns:
        return directive->digit < 0 || board_.OpY_Click(directive->digit);
    case DirectiveKind::AlwaysOnTop:
        // Applied explicitly even when the box already shows the value, so the
        // window's stacking follows the box from here on.
        c_.chk_AllwaysonTop.setValue(directive->on ? 1 : 0);
        if (handlers_.chk_AllwaysonTop_Click) handlers_.chk_AllwaysonTop_Click();
        return true;
    case DirectiveKind::NickWindow:
        c_.chk_rename.setValue(directive->on ? 1 : 0);
        if (handlers_.chk_rename_Click) handlers_.chk_rename_Click();
        return true;
    case DirectiveKind::ServerName:
        c_.servername.setText(directive->serverName);
        return true;
    }
    return true;
}

bool OrderLoader::startUpLoad(const std::string& path) {
    const auto text = readText(path);
    if (!text) return false;
    int index = 0;
    for (std::string_view line : splitOrderLines(*text)) {
        if (index > OrderBoard::kLastButtonIndex) break;
        if (line.empty() || line.front() != '*') {
            if (!applyOrderLine(index, line)) return false;
            ++index;
        } else if (!applyDirective(line)) {
            return false;
        }
    }
    return true;
}

void OrderLoader::Command1_Click() {
    const auto path =
        dialog_.chooseFile({{"命令ファイル (*.txt)", {"*.txt"}}, {"全てのファイル(*.*)", {"*.*"}}});
    if (!path) return;
    const auto text = readText(*path);
    if (!text) return;
    for (int i = 0; i <= OrderBoard::kLastButtonIndex; ++i) {
        c_.tavren[i].setCaption("tavren");
        c_.tavren[i].setBackColour(controls::kButtonFace);
    }
    int index = 0;
    for (std::string_view line : splitOrderLines(*text)) {
        if (index > OrderBoard::kLastButtonIndex) break;
        if (!applyOrderLine(index, line)) return;
        ++index;
    }
}

} // namespace tavren::board
