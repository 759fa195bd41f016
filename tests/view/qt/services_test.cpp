// The Qt side of the services: event loop, open dialog, screens.
#include "platform/view/qt/qt_event_loop.h"
#include "platform/view/qt/qt_open_dialog.h"
#include "platform/view/qt/qt_screens.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

class QtEventLoopTest : public ::testing::Test {
protected:
    // A quit outside any running loop stays pending in Qt until the application
    // loop next runs (and would end the next dialog at once): run it once.
    void TearDown() override {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QApplication::exec();
    }
};

TEST_F(QtEventLoopTest, QuitInsideAHandlerEndsTheLoopAndHidesEveryWindow) {
    QtEventLoop loop;
    QWidget window;
    window.show();
    int handlerRan = 0, ranAfterQuit = 0;
    QTimer::singleShot(0, [&] {
        ++handlerRan;
        loop.quit();
        // Input that is already waiting is not dispatched any more.
        QTimer::singleShot(0, &window, [&] { ++ranAfterQuit; });
        loop.processPendingEvents();
    });
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_EQ(handlerRan, 1);
    EXPECT_EQ(ranAfterQuit, 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(loop.ending());
}

TEST_F(QtEventLoopTest, AQuitBeforeTheLoopRunsIsNotForgotten) {
    QtEventLoop loop;
    loop.quit();               // start-up ended the program before the loop was entered
    EXPECT_EQ(loop.exec(), 0); // returns instead of running for ever
}

TEST_F(QtEventLoopTest, PendingEventsRunNestedInsideTheCaller) {
    QtEventLoop loop;
    std::vector<int> order;
    QTimer::singleShot(0, [&] { order.push_back(2); });
    order.push_back(1);
    loop.processPendingEvents();
    order.push_back(3);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(OpenDialogFiltersTest, ListEachDescriptionWithItsPatterns) {
    const std::vector<services::FileFilter> filters{{"テキスト", {"*.txt", "*.log"}},
                                                    {"All files", {"*.*", "*"}}};
    // "*.*" is every file, names without a dot included.
    EXPECT_EQ(nameFilters(filters), (QStringList{"テキスト (*.txt *.log)", "All files (*)"}));
    EXPECT_TRUE(nameFilters({}).isEmpty());
}

class QtOpenDialogTest : public ::testing::Test {
protected:
    // Acts on the dialog once it is up, from inside its own loop.
    void whenDialogShows(std::function<void(QFileDialog&)> act) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        });
        poll->start(0);
    }
    // The names the dialog's list shows, once it shows `expected` of them (the
    // folder is read in the background), or what it shows after a while.
    static QStringList namesListed(QListView& list, int expected) {
        QStringList names;
        QElapsedTimer waited;
        waited.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            names.clear();
            const QModelIndex folder = list.rootIndex();
            for (int row = 0; row < list.model()->rowCount(folder); ++row)
                names << list.model()->index(row, 0, folder).data().toString();
        } while (names.size() != expected && waited.elapsed() < 5000);
        names.sort();
        return names;
    }
    QtOpenDialog dialog;
    const std::vector<services::FileFilter> filters{{"Orders", {"*.txt"}}, {"All", {"*"}}};
};

TEST_F(QtOpenDialogTest, ATypedNameOfAMissingFileIsAccepted) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("nothing-here.txt");
    QStringList shownFilters;
    QString preselected;
    bool opens = false;
    whenDialogShows([&](QFileDialog& d) {
        shownFilters = d.nameFilters();
        preselected = d.selectedNameFilter();
        opens = d.acceptMode() == QFileDialog::AcceptOpen;
        d.selectFile(missing);
        static_cast<QDialog&>(d).accept(); // as the Open button does
    });
    EXPECT_EQ(dialog.chooseFile(filters), std::optional<std::string>(missing.toStdString()));
    EXPECT_EQ(shownFilters, (QStringList{"Orders (*.txt)", "All (*)"}));
    EXPECT_EQ(preselected, QString("Orders")); // as the dialog shows it
    EXPECT_TRUE(opens);
}

TEST_F(QtOpenDialogTest, ShowsTheFilterNamesAsGivenAndAllFilesMeansAll) {
    QTemporaryDir dir;
    for (const char* name : {"orders", "a.txt", "b.log"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::vector<services::FileFilter> given{{"命令ファイル (*.txt)", {"*.txt"}},
                                                  {"全てのファイル(*.*)", {"*.*"}}};
    QStringList shownNames, listedByTxt, listedByAll;
    whenDialogShows([&](QFileDialog& d) {
        d.setDirectory(dir.path());
        auto* types = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* list = d.findChild<QListView*>(QStringLiteral("listView"));
        if (types && list) {
            for (int i = 0; i < types->count(); ++i)
                shownNames << types->itemText(i);
            listedByTxt = namesListed(*list, 1);
            d.selectNameFilter(d.nameFilters().value(1));
            listedByAll = namesListed(*list, 3);
        }
        d.reject();
    });
    EXPECT_EQ(dialog.chooseFile(given), std::nullopt);
    EXPECT_EQ(shownNames, (QStringList{"命令ファイル (*.txt)", "全てのファイル(*.*)"}));
    EXPECT_EQ(listedByTxt, (QStringList{"a.txt"}));
    EXPECT_EQ(listedByAll, (QStringList{"a.txt", "b.log", "orders"}));
}

TEST_F(QtOpenDialogTest, CancelChoosesNothing) {
    whenDialogShows([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(dialog.chooseFile(filters), std::nullopt);
}

TEST(QtScreensTest, AvailableAreasAreInTwipsAtTheGivenScale) {
    QtScreens screens(TwipsScale::forDpi(144, 120)); // 10 by 12 twips per pixel
    const auto areas = screens.availableGeometries();
    ASSERT_EQ(areas.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
    const QRect first = QGuiApplication::screens().first()->availableGeometry();
    ASSERT_GT(first.width(), 0);
    EXPECT_EQ(areas.front(), (controls::Rect{first.x() * 10.0, first.y() * 12.0,
                                             first.width() * 10.0, first.height() * 12.0}));
}

} // namespace
