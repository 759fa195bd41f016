#include "settings.h"

#include "entry_values.h"
#include "on_screen.h"

#include <algorithm>
#include <limits>

namespace tavren::settings {

namespace {

// A stored size larger than this many screens cannot be meant and is not applied.
constexpr double kMaxScreensPerSize = 20;

// One entry of the file, or nothing when it counts as missing.
std::optional<std::string> readEntry(services::ProfileStore& profile, std::string_view section,
                                     std::string_view key) {
    const std::string value = profile.read(section, key, kMissingValue);
    if (countsAsMissing(value)) return std::nullopt;
    return withoutTrailingBlanks(value);
}

// Every read below yields nothing for an entry that is missing or that cannot be
// applied to its control; such an entry leaves the control as it is.
class EntryReader {
public:
    EntryReader(services::ProfileStore& profile, std::vector<controls::Rect> screens)
        : profile_(profile), screens_(std::move(screens)) {}

    std::optional<std::string> text(std::string_view section, std::string_view key) {
        return readEntry(profile_, section, key);
    }

    std::optional<std::int32_t> number(std::string_view section, std::string_view key) {
        const auto value = text(section, key);
        return value ? wholeNumber(*value) : std::nullopt;
    }

    std::optional<int> checkState(std::string_view section, std::string_view key) {
        const auto n = number(section, key);
        return n && *n >= 0 && *n <= 2 ? n : std::nullopt;
    }

    // A row or column count: only those the option groups offer.
    std::optional<int> count(std::string_view key) {
        const auto n = number("Option", key);
        return n && *n >= 2 && *n <= 9 ? n : std::nullopt;
    }

    // A window edge: a negative position places the edge at 0.
    std::optional<double> edge(std::string_view section, std::string_view key) {
        const auto n = number(section, key);
        if (!n) return std::nullopt;
        return std::max<std::int32_t>(*n, 0);
    }

    // A height or width: positive and not beyond all reason.
    std::optional<double> size(std::string_view key, double controls::Rect::*extent) {
        const auto n = number("Form", key);
        if (!n || *n <= 0) return std::nullopt;
        double largest = 0;
        for (const auto& s : screens_)
            largest = std::max(largest, s.*extent);
        if (largest > 0 && *n > kMaxScreensPerSize * largest) return std::nullopt;
        return *n;
    }

    // The gap in 20-twip units, as long as the gap in twips fits 32 bits.
    std::optional<std::int32_t> gapUnits() {
        const auto n = number("Option", "ButtonGAP");
        constexpr std::int32_t limit = std::numeric_limits<std::int32_t>::max() / 20;
        return n && *n >= -limit && *n <= limit ? n : std::nullopt;
    }

private:
    services::ProfileStore& profile_;
    std::vector<controls::Rect> screens_;
};

void selectOption(const controls::ControlArray<controls::OptionButton>& options, int index) {
    if (controls::OptionButton* option = options.find(index)) option->select();
}

std::string state(const controls::CheckBox& box) {
    return std::to_string(box.value());
}

} // namespace

Settings::Settings(Controls controls, board::OrderBoard& board, nick::NickWindow& nick,
                   services::ProfileStore& profile, services::EventLoop& events,
                   services::Screens& screens)
    : c_(controls), board_(board), nick_(nick), profile_(profile), events_(events),
      screens_(screens) {}

// The steps run in this order because setting a control runs its handlers: the
// stacking and target options first, then pending events, then the nick window,
// the windows' places and sizes, and the board's shape last.
void Settings::LoadSettings() {
    const std::vector<controls::Rect> screens = screens_.availableGeometries();
    EntryReader entry(profile_, screens);
    controls::Form& main = c_.IRC_Quorvel;
    nick::NickForm& nick = nick_.form();

    if (auto v = entry.checkState("Option", "chk_enter")) c_.chk_enter.setValue(*v);
    if (auto v = entry.checkState("Option", "chk_AllwaysonTop")) c_.chk_AllwaysonTop.setValue(*v);
    if (auto v = entry.checkState("Option", "chk_syuryo")) c_.chk_syuryo.setValue(*v);
    if (auto v = entry.checkState("Option", "chk_uo")) c_.chk_uo.setValue(*v);
    events_.processPendingEvents();
    // The program ended in there: what was saved stays saved, nothing more is applied.
    if (events_.ending()) return;
    if (auto v = entry.checkState("Option", "chk_rename")) c_.chk_rename.setValue(*v);
    if (auto v = entry.checkState("nick", "nickAllwaysonTop")) {
        nick_.ensureCreated();
        nick.chk_AllwaysonTop.setValue(*v);
    }

    bool mainPlaced = false;
    if (auto v = entry.edge("Form", "top")) {
        main.setTop(*v);
        mainPlaced = true;
    }
    if (auto v = entry.edge("Form", "left")) {
        main.setLeft(*v);
        mainPlaced = true;
    }
    bool nickPlaced = false;
    if (auto v = entry.edge("nick", "top")) {
        nick_.ensureCreated();
        nick.frm_nick.setTop(*v);
        nickPlaced = true;
    }
    if (auto v = entry.edge("nick", "left")) {
        nick_.ensureCreated();
        nick.frm_nick.setLeft(*v);
        nickPlaced = true;
    }
    // A stored place can lie on a screen that is no longer there.
    if (nickPlaced) nick.frm_nick.setGeometry(keepReachable(nick.frm_nick.geometry(), screens));
    if (auto v = entry.text("nick", "txt")) {
        nick_.ensureCreated();
        nick.txt_nick.setText(*v);
    }
    if (auto v = entry.size("height", &controls::Rect::height)) main.setHeight(*v);
    if (auto v = entry.size("width", &controls::Rect::width)) main.setWidth(*v);
    if (mainPlaced) main.setGeometry(keepReachable(main.geometry(), screens));

    if (auto v = entry.count("ButtonT")) {
        board_.OpT_Click(*v);
        selectOption(c_.OpT, *v);
    }
    if (auto v = entry.count("ButtonY")) {
        board_.OpY_Click(*v);
        selectOption(c_.OpY, *v);
    }
    if (auto v = entry.gapUnits()) {
        c_.cmb_Bgap.setText(std::to_string(*v));
        board_.ButtonGapApply();
    }
}

void Settings::SaveSettings() {
    // The nick window's values are saved whether it is shown or not, and exist
    // (with their initial values) even if it was never used.
    nick_.ensureCreated();
    const controls::Form& main = c_.IRC_Quorvel;
    const nick::NickForm& nick = nick_.form();
    profile_.write({
        {"Option", "chk_enter", state(c_.chk_enter)},
        {"Option", "chk_AllwaysonTop", state(c_.chk_AllwaysonTop)},
        {"Option", "chk_syuryo", state(c_.chk_syuryo)},
        {"Option", "chk_uo", state(c_.chk_uo)},
        {"Option", "chk_rename", state(c_.chk_rename)},
        {"Option", "ButtonSU", std::to_string(board_.lastShownIndex())},
        {"Option", "ButtonT", std::to_string(board_.rowCount())},
        {"Option", "ButtonY", std::to_string(board_.columnCount())},
        {"Option", "ButtonGap", c_.cmb_Bgap.text()},
        {"Form", "top", twipsText(main.top())},
        {"Form", "left", twipsText(main.left())},
        {"Form", "height", twipsText(main.height())},
        {"Form", "width", twipsText(main.width())},
        {"nick", "nickAllwaysonTop", state(nick.chk_AllwaysonTop)},
        {"nick", "top", twipsText(nick.frm_nick.top())},
        {"nick", "left", twipsText(nick.frm_nick.left())},
        {"nick", "txt", nick.txt_nick.text()},
    });
}

} // namespace tavren::settings
