#include "batch/windows/ProcessWindow.h"

#include "batch/ProcessTestSupport.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace dovi;
using namespace dovi::test;

namespace {

// Lets the window's events run as the real Ui does, and plays the user: tries
// to close the window while the run goes on and releases Escape in the log
// list once some files are done.
struct UserAtTheWindow : ScriptedUi {
    QPointer<ProcessWindow> window;
    int escapeAfter = -1;
    bool closeEverEnabled = false, closeRefused = false;
    QString runningCaption;
    void processEvents() override {
        ScriptedUi::processEvents();
        QApplication::processEvents();
        if (!window)
            return;
        if (runningCaption.isEmpty())
            runningCaption = window->windowTitle();
        closeEverEnabled |= window->closeButton()->isEnabled();
        closeRefused |= !window->close();
        if (window && window->progressBar()->value() == escapeAfter)
            QTest::keyRelease(window->logList(), Qt::Key_Escape);
    }
};

struct ProcessWindowTest : PicturesFixture {
    UserAtTheWindow user;
    QPointer<ProcessWindow> window;
    void SetUp() override {
        PicturesFixture::SetUp();
        ws->settings.confirmActions = 0;
    }
    batch::ProcessSummary run(const QStringList& files) {
        window = user.window = new ProcessWindow(nullptr, *ws);
        return batch::processFiles(*ws, user, *window, files);
    }
    QStringList log() const {
        QStringList lines;
        for (int i = 0; i < window->logList()->count(); ++i)
            lines << window->logList()->item(i)->text();
        return relativeLines(lines, pics);
    }
    void closeWindow() {
        EXPECT_EQ(window->closeButton()->text(), "Close");
        QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(window) << "Close unloads the window";
    }
};

} // namespace

// Each file gets a line saying what happened to it; lines other than
// "complete" go to the history too.
TEST_F(ProcessWindowTest, LogsEachFileAndTidiesUpAtTheEnd) {
    const QStringList files = mixedFolder(pics, "d.jpg");
    ws->settings.altSaveFormatOn = 1;
    ws->settings.altSaveFormat = 3; // PCX
    ws->hold.append(pic("a.bmp"));

    run(files);

    EXPECT_EQ(user.runningCaption, "Processing 6 files. ESCAPE to abort");
    EXPECT_TRUE(user.closeRefused && !user.closeEverEnabled)
        << "the window cannot be closed during the run";
    EXPECT_EQ(window->windowTitle(), "Work Complete - 1 file(s) failed");
    EXPECT_EQ(window->progressBar()->value(), 6);
    const QStringList expected = {
        "<dir>/a.bmp   ...   complete",
        "<dir>/notes.txt   ...   not a supported image type",
        "<dir>/b.tga   ...   resample not required",
        "<dir>/d.jpg   ...   complete",
        "<dir>/broken.jpg   ...   could not be read: ",
        "<dir>/c.pcx   ...   complete",
        "1 file(s) could not be processed",
    };
    const QStringList got = log();
    ASSERT_EQ(got.size(), expected.size()) << got.join("\n").toStdString();
    for (int i = 0; i < got.size(); ++i)
        EXPECT_TRUE(got[i].startsWith(expected[i])) << got[i].toStdString();
    EXPECT_EQ(relativeLines(historyLines(), pics),
              QStringList({"Processing <dir>/notes.txt   ...   not a supported image type",
                           "Processing <dir>/b.tga   ...   resample not required",
                           "Processing " + got[4]}));
    // A file saved only for the alternate format is written all the same;
    // c.pcx is rewritten in place.
    for (const auto& [name, size] : {std::pair{"a.pcx", QSize(100, 50)},
                                     {"b.pcx", QSize(50, 50)},
                                     {"c.pcx", QSize(100, 50)},
                                     {"d.pcx", QSize(100, 100)}}) {
        const auto saved = imaging::decodeFile(pic(name));
        EXPECT_EQ(std::pair(saved.image.pixels.size(), saved.image.format),
                  std::pair(size, imaging::Pcx))
            << name;
    }
    EXPECT_TRUE(ws->files.contains("a.pcx")) << "the list is read again";
    EXPECT_EQ(ws->hold.count(), 1) << "the hold list is cleared only with Delete Original";
    closeWindow();

    ws->settings.historyLimit = 0;
    ws->settings.deleteOriginal = 1;
    ws->history.clear();
    run({pic("notes.txt")});
    EXPECT_TRUE(historyLines().isEmpty()) << "history off: no line";
    EXPECT_TRUE(ws->hold.isEmpty()) << "Delete Original empties the hold list";
    closeWindow();
}

// Escape in the log stops the run after the file in progress: nothing more is
// written, and files, hold list and counters stay as they were.
TEST_F(ProcessWindowTest, EscapeInTheLogStopsTheRunAfterTheFileInProgress) {
    QStringList names;
    for (int i = 1; i <= 6; ++i) {
        names << QString("f%1.bmp").arg(i);
        writeImage(pic(names.last()), {200, 100}, imaging::Bmp);
    }
    const auto before = snapshot(pics);
    ws->settings.deleteOriginal = 1;
    ws->hold.append(pic("f1.bmp"));
    bool filesReread = false;
    QObject::connect(ws.get(), &Workspace::filesChanged, [&] { filesReread = true; });
    user.escapeAfter = 2;

    const auto summary = run(paths(names));

    EXPECT_EQ(std::tuple(ws->processAbort, summary.finished), std::tuple(true, 2));
    EXPECT_EQ(window->windowTitle(), "ABORT after processing 2 files...");
    EXPECT_EQ(window->focusWidget(), window->logList());
    EXPECT_EQ(log().mid(2), QStringList({" ", "ABORT!"}));
    const auto after = snapshot(pics);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(after.value(names[i]) == before.value(names[i]), i >= 2) << i;
    EXPECT_FALSE(filesReread);
    EXPECT_EQ(ws->hold.count(), 1) << "an aborted run leaves the hold list alone";
    closeWindow();
}
