#include "settings/settings.h"

#include "app/main_form.h"
#include "board/order_board.h"
#include "delivery/irc_link.h"
#include "fakes/fake_services.h"
#include "nick/nick_form.h"
#include "nick/nick_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <sstream>
#include <string>

using namespace tavren;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// One run of the program: both windows with the objects the settings drive,
// in the state start-up leaves them in before the loader runs.
struct ProgramRun {
    explicit ProgramRun(fakes::FakePlatform& p) : platform(p) {
        form.Frame[2].setGeometry({0, -120, 4855, 4525});
        board.initialise();
    }
    void load() { settings.LoadSettings(); }
    void save() { settings.SaveSettings(); }

    // Everything the settings can change, as one comparable text.
    std::string state() const {
        std::ostringstream s;
        const auto rect = [&](const controls::Rect& r) {
            s << r.left << "," << r.top << "," << r.width << "," << r.height << " ";
        };
        for (const auto* box : {&form.chk_enter, &form.chk_AllwaysonTop, &form.chk_syuryo,
                                &form.chk_uo, &form.chk_rename, &nickForm.chk_AllwaysonTop})
            s << box->value() << " ";
        s << board.rowCount() << "x" << board.columnCount() << " " << board.lastShownIndex()
          << " gap " << board.buttonGap() << " box '" << form.cmb_Bgap.text() << "' ";
        form.OpT.forEach([&](int i, const controls::OptionButton& o) { s << (o.value() ? i : 0); });
        form.OpY.forEach([&](int i, const controls::OptionButton& o) { s << (o.value() ? i : 0); });
        s << " ";
        rect(form.IRC_Quorvel.geometry());
        rect(nickForm.frm_nick.geometry());
        s << (nickForm.frm_nick.isLoaded() ? "created " : "")
          << (nickForm.frm_nick.visible() ? "shown " : "") << "'" << nickForm.txt_nick.text()
          << "'";
        return s.str();
    }

    fakes::FakePlatform& platform;
    app::MainForm form;
    nick::NickForm nickForm;
    board::OrderBoard board{{form.tavren, form.Frame[2], form.OpT, form.OpY, form.cmb_Bgap}};
    delivery::IrcLink link{form.servername, platform.conversation};
    nick::NickWindow nick{nickForm, form.chk_rename, form.servername, link};
    settings::Settings settings{{form.IRC_Quorvel, form.chk_enter, form.chk_AllwaysonTop,
                                 form.chk_syuryo, form.chk_uo, form.chk_rename, form.OpT, form.OpY,
                                 form.cmb_Bgap},
                                board,
                                nick,
                                platform.profile,
                                platform.eventLoop,
                                platform.screens};
};

struct SettingsTest : ::testing::Test {
    std::unique_ptr<ProgramRun> newRun() { return std::make_unique<ProgramRun>(platform); }
    std::vector<std::string> written() const {
        std::vector<std::string> out;
        for (const auto& e : platform.profile.written)
            out.push_back(e.section + "/" + e.key + "=" + e.value);
        return out;
    }

    fakes::FakePlatform platform;
};

TEST_F(SettingsTest, AFirstRunKeepsTheInitialStatesAndSavesSeventeenEntriesInOrder) {
    auto run = newRun();
    const std::string initial = run->state();
    run->load();
    EXPECT_EQ(run->state(), initial);
    EXPECT_EQ(run->form.chk_enter.value(), 2);
    EXPECT_EQ(run->form.chk_syuryo.value(), 2);
    EXPECT_EQ(run->board.buttonGap(), 50);
    EXPECT_EQ(run->form.cmb_Bgap.text(), "3");
    EXPECT_FALSE(run->nickForm.frm_nick.isLoaded());

    run->save();
    EXPECT_EQ(platform.profile.writes, 1);
    EXPECT_THAT(written(),
                ElementsAre("Option/chk_enter=2", "Option/chk_AllwaysonTop=0",
                            "Option/chk_syuryo=2", "Option/chk_uo=0", "Option/chk_rename=0",
                            "Option/ButtonSU=7", "Option/ButtonT=4", "Option/ButtonY=2",
                            "Option/ButtonGap=3", "Form/top=1440", "Form/left=1440",
                            "Form/height=5485", "Form/width=5035", "nick/nickAllwaysonTop=0",
                            "nick/top=0", "nick/left=0", "nick/txt="));
    // The nick window was created for the saver, and stays hidden.
    EXPECT_TRUE(run->nickForm.frm_nick.isLoaded());
    EXPECT_FALSE(run->nickForm.frm_nick.visible());

    // From the second run on the gap box's 3 is in force: 60 twips.
    auto second = newRun();
    second->load();
    EXPECT_EQ(second->board.buttonGap(), 60);
    EXPECT_EQ(second->form.cmb_Bgap.text(), "3");
}

TEST_F(SettingsTest, EverySavedValueComesBackInTheNextRun) {
    auto run = newRun();
    run->form.chk_enter.setValue(2);
    run->form.chk_AllwaysonTop.setValue(1);
    run->form.chk_syuryo.setValue(0);
    run->form.chk_uo.setValue(1);
    run->form.chk_rename.setValue(1);
    run->nickForm.chk_AllwaysonTop.setValue(2);
    run->board.OpT_Click(3);
    run->board.OpY_Click(5);
    run->form.cmb_Bgap.setText("7");
    run->form.IRC_Quorvel.setGeometry({300, 450, 6000, 7000});
    run->nickForm.frm_nick.setGeometry({9000, 120, 1690, 2230});
    run->nickForm.txt_nick.setText("\xE5\xA4\xAA\xE9\x83\x8E Taro");
    run->save();

    auto next = newRun();
    next->load();
    EXPECT_EQ(next->form.chk_enter.value(), 2);
    EXPECT_EQ(next->form.chk_AllwaysonTop.value(), 1);
    EXPECT_EQ(next->form.chk_syuryo.value(), 0);
    EXPECT_EQ(next->form.chk_uo.value(), 1);
    EXPECT_EQ(next->form.chk_rename.value(), 1);
    EXPECT_TRUE(next->nickForm.frm_nick.visible()); // chk_rename 1 shows it
    EXPECT_EQ(next->board.rowCount(), 3);
    EXPECT_EQ(next->board.columnCount(), 5);
    EXPECT_EQ(next->board.lastShownIndex(), 14);
    EXPECT_TRUE(next->form.OpT[3].value());
    EXPECT_TRUE(next->form.OpY[5].value());
    EXPECT_EQ(next->board.buttonGap(), 140);
    // The whole state matches, apart from the gap, which the first run never applied.
    run->board.ButtonGapApply();
    EXPECT_EQ(next->state(), run->state());
}

TEST_F(SettingsTest, RunsEachStepsHandlersInOrderWithPendingEventsAfterTheFourthStep) {
    auto run = newRun();
    auto& log = platform.log;
    const auto onClick = [&](controls::CheckBox& box, std::string name) {
        box.clicked.connect([&log, name] { log.add("click " + name); });
    };
    onClick(run->form.chk_enter, "chk_enter");
    onClick(run->form.chk_AllwaysonTop, "chk_AllwaysonTop");
    onClick(run->form.chk_syuryo, "chk_syuryo");
    onClick(run->form.chk_uo, "chk_uo");
    onClick(run->form.chk_rename, "chk_rename");
    onClick(run->nickForm.chk_AllwaysonTop, "nickAllwaysonTop");
    run->form.IRC_Quorvel.resized.connect([&] { log.add("resized"); });
    run->form.OpT[6].clicked.connect([&] { log.add("OpT 6"); });
    run->form.OpY[3].clicked.connect([&] { log.add("OpY 3"); });
    run->form.cmb_Bgap.textChanged.connect([&] { log.add("gap box"); });
    run->nickForm.txt_nick.textChanged.connect([&] { log.add("txt_nick"); });
    // An event waiting in the queue sees the first four steps done, not the fifth.
    platform.eventLoop.pending.push_back([&] {
        log.add("pending event: chk_uo " + std::to_string(run->form.chk_uo.value()) +
                " chk_rename " + std::to_string(run->form.chk_rename.value()));
    });

    auto& store = platform.profile;
    store.set("Option", "chk_enter", "0");
    store.set("Option", "chk_AllwaysonTop", "1");
    store.set("Option", "chk_syuryo", "1");
    store.set("Option", "chk_uo", "1");
    store.set("Option", "chk_rename", "1");
    store.set("nick", "nickAllwaysonTop", "1");
    store.set("Form", "top", "100");
    store.set("Form", "left", "200");
    store.set("nick", "top", "300");
    store.set("nick", "left", "400");
    store.set("nick", "txt", "Taro");
    store.set("Form", "height", "6000");
    store.set("Form", "width", "7000");
    store.set("Option", "ButtonT", "6");
    store.set("Option", "ButtonY", "3");
    store.set("Option", "ButtonGap", "5");
    log.clear();

    run->load();
    EXPECT_THAT(log.entries(),
                ElementsAreArray<std::string>({"read Option/chk_enter",
                                               "click chk_enter",
                                               "read Option/chk_AllwaysonTop",
                                               "click chk_AllwaysonTop",
                                               "read Option/chk_syuryo",
                                               "click chk_syuryo",
                                               "read Option/chk_uo",
                                               "click chk_uo",
                                               "processPendingEvents",
                                               "pending event: chk_uo 1 chk_rename 0",
                                               "read Option/chk_rename",
                                               "click chk_rename",
                                               "read nick/nickAllwaysonTop",
                                               "click nickAllwaysonTop",
                                               "read Form/top",
                                               "read Form/left",
                                               "read nick/top",
                                               "read nick/left",
                                               "read nick/txt",
                                               "txt_nick",
                                               "read Form/height",
                                               "resized",
                                               "read Form/width",
                                               "resized",
                                               "read Option/ButtonT",
                                               "OpT 6",
                                               "read Option/ButtonY",
                                               "OpY 3",
                                               "read Option/ButtonGAP",
                                               "gap box"}));
    EXPECT_EQ(run->form.IRC_Quorvel.geometry(), (controls::Rect{200, 100, 7000, 6000}));
    EXPECT_EQ(run->nickForm.frm_nick.geometry(), (controls::Rect{400, 300, 1690, 2230}));
    EXPECT_EQ(run->board.buttonGap(), 100);
    // Rows first, then columns: the last shown index follows both stored counts.
    EXPECT_EQ(run->board.lastShownIndex(), 17);
}

TEST_F(SettingsTest, AValueThatAlreadyHoldsRunsNoHandler) {
    auto run = newRun();
    int clicks = 0;
    for (auto* box : {&run->form.chk_AllwaysonTop, &run->form.chk_enter, &run->form.chk_rename})
        box->clicked.connect([&] { ++clicks; });
    platform.profile.set("Option", "chk_AllwaysonTop", "0");
    platform.profile.set("Option", "chk_enter", "2");
    platform.profile.set("Option", "chk_rename", "0");
    run->load();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(run->nickForm.frm_nick.isLoaded());
}

TEST_F(SettingsTest, AnyValueStartingWithNotCountsAsMissing) {
    // The store drops the blanks before a value, so " not" reads as "not" too.
    for (const char* value : {"not", "NOT", "Nottingham", "nOt 1", "not   ", " not"}) {
        fakes::FakePlatform p;
        ProgramRun run(p);
        const std::string initial = run.state();
        for (const char* key : {"chk_enter", "chk_AllwaysonTop", "chk_uo", "chk_rename", "ButtonT",
                                "ButtonY", "ButtonGap"})
            p.profile.set("Option", key, value);
        for (const char* key : {"top", "left", "height", "width"})
            p.profile.set("Form", key, value);
        for (const char* key : {"nickAllwaysonTop", "top", "left", "txt"})
            p.profile.set("nick", key, value);
        run.load();
        EXPECT_EQ(run.state(), initial) << value;
    }
    // Anything else is a value, even when it begins like "not".
    for (const char* text : {"no", "nope", "kno t", "n ot"}) {
        fakes::FakePlatform p;
        ProgramRun run(p);
        p.profile.set("nick", "txt", text);
        run.load();
        EXPECT_EQ(run.nickForm.txt_nick.text(), text);
        EXPECT_TRUE(run.nickForm.frm_nick.isLoaded());
    }
}

// A stored value as part of a test name ("-0.5" -> "minus0_5", "" -> "empty"),
// so that a failing case names the entry it stored.
std::string nameOfValue(const std::string& value) {
    if (value.empty()) return "empty";
    std::string name;
    for (char c : value) {
        if (c == '-')
            name += "minus";
        else if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else
            name += '_';
    }
    return name;
}

std::string entryName(const char* section, const char* key, const char* value) {
    return std::string(section) + "_" + key + "_" + nameOfValue(value);
}

struct Edge {
    const char* section;
    const char* key;
    const char* value;
    controls::Rect main;
    controls::Rect nick;
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const Edge& e, std::ostream* out) {
    *out << "[" << e.section << "] " << e.key << "=" << ::testing::PrintToString(e.value);
}

class SettingsEdgeTest : public SettingsTest, public ::testing::WithParamInterface<Edge> {};

TEST_P(SettingsEdgeTest, NegativeEdgesBecomeZeroAndNumbersRoundHalfToEven) {
    const Edge& e = GetParam();
    platform.profile.set(e.section, e.key, e.value);
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->form.IRC_Quorvel.geometry(), e.main);
    EXPECT_EQ(run->nickForm.frm_nick.geometry(), e.nick);
}

constexpr controls::Rect kMain{1440, 1440, 5035, 5485};
constexpr controls::Rect kNick{0, 0, 1690, 2230};

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsEdgeTest,
    ::testing::Values(Edge{"Form", "top", "-100", {1440, 0, 5035, 5485}, kNick},
                      Edge{"Form", "left", "-1", {0, 1440, 5035, 5485}, kNick},
                      Edge{"Form", "top", "0", {1440, 0, 5035, 5485}, kNick},
                      Edge{"Form", "top", "2500.5", {1440, 2500, 5035, 5485}, kNick},
                      Edge{"Form", "left", "2501.5", {2502, 1440, 5035, 5485}, kNick},
                      Edge{"Form", "left", "-0.5", {0, 1440, 5035, 5485}, kNick},
                      Edge{"nick", "top", "-7", kMain, kNick},
                      Edge{"nick", "left", "-3000", kMain, kNick},
                      Edge{"nick", "top", "4000", kMain, {0, 4000, 1690, 2230}},
                      Edge{"nick", "left", "  4000  ", kMain, {4000, 0, 1690, 2230}},
                      Edge{"Form", "height", "3000.5", {1440, 1440, 5035, 3000}, kNick},
                      Edge{"Form", "width", "9000", {1440, 1440, 9000, 5485}, kNick}),
    [](const ::testing::TestParamInfo<Edge>& info) {
        return entryName(info.param.section, info.param.key, info.param.value);
    });

struct Unusable {
    const char* section;
    const char* key;
    const char* value;
};

void PrintTo(const Unusable& u, std::ostream* out) {
    *out << "[" << u.section << "] " << u.key << "=" << ::testing::PrintToString(u.value);
}

class SettingsUnusableTest : public SettingsTest, public ::testing::WithParamInterface<Unusable> {};

TEST_P(SettingsUnusableTest, AValueThatCannotBeAppliedLeavesItsControlAsItIs) {
    const Unusable& u = GetParam();
    platform.profile.set(u.section, u.key, u.value);
    auto run = newRun();
    int handlers = 0;
    for (auto* box : {&run->form.chk_enter, &run->form.chk_AllwaysonTop, &run->form.chk_syuryo,
                      &run->form.chk_uo, &run->form.chk_rename, &run->nickForm.chk_AllwaysonTop})
        box->clicked.connect([&] { ++handlers; });
    run->form.IRC_Quorvel.resized.connect([&] { ++handlers; });
    const std::string initial = run->state();
    run->load();
    EXPECT_EQ(run->state(), initial);
    EXPECT_EQ(handlers, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsUnusableTest,
    ::testing::Values(Unusable{"Option", "chk_enter", "3"}, Unusable{"Option", "chk_uo", "-1"},
                      Unusable{"Option", "chk_AllwaysonTop", "yes"},
                      Unusable{"Option", "chk_syuryo", ""}, Unusable{"Option", "chk_rename", "1x"},
                      Unusable{"Option", "chk_uo", "2.5e9"}, Unusable{"Option", "ButtonT", "1"},
                      Unusable{"Option", "ButtonT", "10"}, Unusable{"Option", "ButtonY", "0"},
                      Unusable{"Option", "ButtonY", "abc"}, Unusable{"Option", "ButtonGap", ""},
                      Unusable{"Option", "ButtonGap", "three"},
                      Unusable{"Option", "ButtonGap", "1e12"},
                      Unusable{"Option", "ButtonGap", "nan"}, Unusable{"Form", "top", "x"},
                      Unusable{"Form", "left", "inf"}, Unusable{"Form", "top", "1e20"},
                      Unusable{"Form", "height", "0"}, Unusable{"Form", "height", "-50"},
                      Unusable{"Form", "width", "0.4"}, Unusable{"Form", "width", "1e9"},
                      Unusable{"Form", "height", "307201"}),
    [](const ::testing::TestParamInfo<Unusable>& info) {
        return entryName(info.param.section, info.param.key, info.param.value);
    });

TEST_F(SettingsTest, ASizeUpToTwentyScreensIsApplied) {
    // The fake screen is 15360 twips high: twenty of them is the bound.
    platform.profile.set("Form", "height", "307200");
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->form.IRC_Quorvel.height(), 307200);
}

TEST_F(SettingsTest, AGapIsAppliedAsAWholeNumberOfTwentyTwips) {
    const struct {
        const char* stored;
        const char* box;
        int twips;
    } cases[] = {
        {"2.5", "2", 40}, {"3.5", "4", 80}, {" 6 ", "6", 120}, {"0", "0", 0}, {"-2", "-2", -40}};
    for (const auto& c : cases) {
        fakes::FakePlatform p;
        ProgramRun run(p);
        p.profile.set("Option", "ButtonGap", c.stored);
        run.load();
        EXPECT_EQ(run.form.cmb_Bgap.text(), c.box) << c.stored;
        EXPECT_EQ(run.board.buttonGap(), c.twips) << c.stored;
    }
}

TEST_F(SettingsTest, AGapTypedAsAFractionIsSavedAsTyped) {
    auto run = newRun();
    run->form.cmb_Bgap.setText("2.5");
    run->save();
    EXPECT_EQ(platform.profile.read("Option", "ButtonGAP", "not"), "2.5");
}

TEST_F(SettingsTest, TheLastShownIndexIsNeverReadBack) {
    platform.profile.set("Option", "ButtonSU", "80");
    platform.profile.set("Option", "ButtonT", "3");
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->board.lastShownIndex(), 5);
    EXPECT_TRUE(run->form.tavren[5].visible());
    EXPECT_FALSE(run->form.tavren[6].visible());
}

TEST_F(SettingsTest, TheNickWindowIsCreatedHiddenForItsOwnEntries) {
    for (const char* key : {"nickAllwaysonTop", "top", "left", "txt"}) {
        fakes::FakePlatform p;
        ProgramRun run(p);
        p.profile.set("nick", key, "1");
        run.load();
        EXPECT_TRUE(run.nickForm.frm_nick.isLoaded()) << key;
        EXPECT_FALSE(run.nickForm.frm_nick.visible()) << key;
    }
}

TEST_F(SettingsTest, TheNickTextLosesTheBlanksAroundIt) {
    platform.profile.set("nick", "txt", " \tTaro  Jiro \t ");
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->nickForm.txt_nick.text(), "Taro  Jiro");
}

TEST_F(SettingsTest, AHiddenNickWindowIsSavedWithItsValues) {
    auto run = newRun();
    run->form.chk_rename.setValue(1);
    run->nickForm.txt_nick.setText("Taro");
    run->nickForm.frm_nick.setGeometry({-200, 500, 1690, 2230});
    bool cancel = false;
    run->nick.Form_Unload(cancel); // closing only hides it
    run->save();
    EXPECT_THAT(written(), ::testing::IsSupersetOf({"Option/chk_rename=0", "nick/top=500",
                                                    "nick/left=-200", "nick/txt=Taro"}));
}

TEST_F(SettingsTest, AFailedSaveIsSilent) {
    platform.profile.failWrites = true;
    auto run = newRun();
    run->save();
    EXPECT_EQ(platform.profile.writes, 1);
}

struct Placement {
    const char* top;
    const char* left;
    controls::Rect expected;
};

void PrintTo(const Placement& c, std::ostream* out) {
    *out << "top=" << c.top << " left=" << c.left;
}

class SettingsPlacementTest : public SettingsTest,
                              public ::testing::WithParamInterface<Placement> {};

// Two screens side by side, 19200 x 15360 twips each.
TEST_P(SettingsPlacementTest, AWindowOffEveryScreenComesBackOntoTheNearest) {
    const Placement& c = GetParam();
    platform.screens.screens = {{0, 0, 19200, 15360}, {19200, 0, 19200, 15360}};
    platform.profile.set("Form", "top", c.top);
    platform.profile.set("Form", "left", c.left);
    platform.profile.set("nick", "top", c.top);
    platform.profile.set("nick", "left", c.left);
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->form.IRC_Quorvel.geometry(),
              (controls::Rect{c.expected.left, c.expected.top, 5035, 5485}));
    // The nick window is smaller, so the same rule can place it elsewhere; it is
    // at least reachable on the same screen.
    const controls::Rect n = run->nickForm.frm_nick.geometry();
    EXPECT_LE(n.left, 38400 - 600);
    EXPECT_LE(n.top, 15360 - 600);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPlacementTest,
    ::testing::Values(Placement{"1000", "30000", {30000, 1000}},   // on the second screen
                      Placement{"14760", "37800", {37800, 14760}}, // 600 x 600 still on it
                      Placement{"14761", "37801", {37800, 14760}},
                      Placement{"1000", "1000000", {37800, 1000}},
                      Placement{"99999999", "2000", {2000, 14760}},
                      Placement{"-5", "-99999", {0, 0}}),
    [](const ::testing::TestParamInfo<Placement>& info) {
        return "top_" + nameOfValue(info.param.top) + "_left_" + nameOfValue(info.param.left);
    });

TEST_F(SettingsTest, APlaceOffAScreenLeftOfTheOriginMovesRightOntoIt) {
    // The only screen starts right of the origin, so a stored negative edge (0 by
    // the sign rule) lies beside it.
    platform.screens.screens = {{20000, 0, 19200, 15360}};
    platform.profile.set("Form", "left", "-100");
    auto run = newRun();
    run->load();
    EXPECT_EQ(run->form.IRC_Quorvel.left(), 20000 - 5035 + 600);
}

} // namespace
