#include "extras/DesktopCommands.h"
#include "extras/WallpaperSetting.h"

#include "app/ProgramFiles.h"

#include "WorkspaceFixture.h"

#include <QUrl>

using namespace dovi;
using namespace dovi::extras;

namespace {

// Stand-ins for the desktops' tools, alone on PATH so the real desktop is
// never touched. Each logs its arguments ("tool|arg|arg") to calls.log,
// prints <tool>.out when asked a value, and exits with <tool>.status.
const char* const kStandIn = R"(#!/bin/sh
tool=${0##*/}
dir=${0%/*}
printf '%s' "$tool" >> "$dir/calls.log"
for a in "$@"; do printf '|%s' "$a" >> "$dir/calls.log"; done
printf '\n' >> "$dir/calls.log"
query=1
for a in "$@"; do case "$a" in set|-s) query=0;; esac; done
if [ $query = 1 ] && [ -f "$dir/$tool.out" ]; then
  while IFS= read -r line || [ -n "$line" ]; do printf '%s\n' "$line"; done < "$dir/$tool.out"
fi
status=0
if [ -f "$dir/$tool.status" ]; then read -r status < "$dir/$tool.status"; fi
exit $status
)";

struct Desktops : test::WorkspaceFixture {
    QString bin;
    QByteArray savedPath;
    QString data;
    QString pics;
    int beeps = 0;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        bin = folder("bin");
        for (const char* tool : {"gsettings", "plasma-apply-wallpaperimage", "xfconf-query"}) {
            const QString path = bin + "/" + tool;
            ASSERT_TRUE(test::writeFile(path, kStandIn));
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        data = dir.filePath("data");
        pics = folder("pics");
        test::writeImage(pics + "/photo.jpg", {40, 30}, imaging::Jpeg);
        test::writeImage(pics + "/held.tga", {20, 10}, imaging::Tga);
        test::writeFile(pics + "/notes.bmp", "not a bitmap");
        ws->filePattern = "*.*";
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    QStringList calls() const {
        QStringList lines = QString::fromUtf8(test::readFile(bin + "/calls.log")).split('\n');
        lines.removeAll(QString());
        return lines;
    }
    QString wallpaper() const { return data + "/Dovi Wallpaper.bmp"; }
    QString uri() const { return QUrl::fromLocalFile(wallpaper()).toString(QUrl::FullyEncoded); }

    void run(Desktop desktop, const QStringList& selectedNames) {
        show(pics, selectedNames);
        setWallpaper(*ws, ui, {data, desktop}, DesktopTools::system(), [this] { ++beeps; });
    }
};

} // namespace

TEST_F(Desktops, EachToolGetsItsCommandsAndASettingThatNamesTheFileIsEmptiedFirst) {
    const QString g = "gsettings|", gnome = "org.gnome.desktop.background|";
    run(Desktop::Gnome, {"photo.jpg"});
    EXPECT_EQ(calls(), QStringList({g + "get|" + gnome + "picture-uri",
                                    g + "set|" + gnome + "picture-uri|" + uri(),
                                    g + "get|" + gnome + "picture-uri-dark",
                                    g + "set|" + gnome + "picture-uri-dark|" + uri()}));
    EXPECT_EQ(std::pair(beeps, ui.prompts.size()), std::pair(1, qsizetype(0)));
    EXPECT_EQ(QImage(wallpaper(), "BMP").size(), QSize(40, 30)) << "written at its own size";

    QFile::remove(bin + "/calls.log");
    test::writeFile(bin + "/xfconf-query.out",
                    "/backdrop/screen0/monitorDP-1/workspace0/last-image\n"
                    "/backdrop/screen0/monitorDP-1/workspace0/image-style\n"
                    "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n");
    run(Desktop::Xfce, {"photo.jpg"});
    const QString at = "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/";
    EXPECT_EQ(calls(), QStringList({"xfconf-query|-c|xfce4-desktop|-l",
                                    at + "monitorDP-1/workspace0/last-image",
                                    at + "monitorDP-1/workspace0/last-image|-s|" + wallpaper(),
                                    at + "monitorHDMI-1/workspace0/last-image",
                                    at + "monitorHDMI-1/workspace0/last-image|-s|" + wallpaper()}));

    // Already showing the file: emptied, then set, so the desktop reads it anew.
    QFile::remove(bin + "/calls.log");
    test::writeFile(bin + "/gsettings.out", "'" + uri().toUtf8() + "'\n");
    run(Desktop::Cinnamon, {"photo.jpg"});
    const QString set = "gsettings|set|org.cinnamon.desktop.background|picture-uri|";
    EXPECT_EQ(calls(), QStringList({"gsettings|get|org.cinnamon.desktop.background|picture-uri",
                                    set, set + uri()}));
}

TEST_F(Desktops, RefusalsAndUnknownDesktopsAreErrorsAndTheBitmapStaysWritten) {
    test::writeFile(bin + "/xfconf-query.status", "1\n");
    QFile::remove(bin + "/plasma-apply-wallpaperimage"); // not installed at all
    for (Desktop desktop : {Desktop::Unknown, Desktop::Xfce, Desktop::Kde}) {
        QFile::remove(wallpaper());
        run(desktop, {"photo.jpg"});
        EXPECT_TRUE(QFile::exists(wallpaper())) << int(desktop);
    }
    EXPECT_EQ(ui.promptTexts(), QStringList(3, kWallpaperErrorMessage));
    EXPECT_EQ(std::pair(historyLines().size(), beeps), std::pair(qsizetype(0), 0));
}

TEST_F(Desktops, TheChecksComeFirstAndTheHoldListWinsOverTheSelection) {
    run(Desktop::Kde, {"photo.jpg", "held.tga"});
    run(Desktop::Kde, {"notes.bmp"});
    EXPECT_EQ(ui.promptTexts(), QStringList({kSingleImageMessage, kUnsupportedImageMessage}));
    EXPECT_FALSE(QFile::exists(wallpaper()));
    EXPECT_TRUE(calls().isEmpty());

    // A read-only wallpaper of an earlier run is replaced.
    QDir().mkpath(data);
    ASSERT_TRUE(test::writeFile(wallpaper(), "old"));
    QFile::setPermissions(wallpaper(), QFileDevice::ReadOwner);
    ws->hold.append(pics + "/held.tga");
    ws->hold.append(pics + "/photo.jpg");
    run(Desktop::Kde, {"photo.jpg"});
    EXPECT_EQ(calls(), QStringList{"plasma-apply-wallpaperimage|" + wallpaper()});
    EXPECT_EQ(QImage(wallpaper(), "BMP").size(), QSize(20, 10));
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{"Dovi Wallpaper.bmp"});
    EXPECT_EQ(historyLines(), QStringList{"Set " + pics + "/held.tga as wallpaper"});
}

TEST(DesktopDetection, TheFirstKnownNameWins) {
    EXPECT_EQ(detectDesktop("Foo:XFCE", "kde"), Desktop::Xfce);
    EXPECT_EQ(detectDesktop("X-Cinnamon", ""), Desktop::Cinnamon);
    EXPECT_EQ(detectDesktop("", "plasmawayland"), Desktop::Kde);
    EXPECT_EQ(detectDesktop("LXQt", "lxqt"), Desktop::Unknown);
}

namespace {

struct Handing : test::WorkspaceFixture {
    QStringList started;
    QList<QUrl> opened;
    bool startWorks = true;
    DesktopTools tools() {
        DesktopTools t;
        t.run = [](const QString&, const QStringList&, QByteArray*) { return -1; };
        t.startDetached = [this](const QString& program, const QStringList& args) {
            started << (QStringList{program} + args).join('|');
            return startWorks;
        };
        t.openUrl = [this](const QUrl& url) { return opened << url, true; };
        return t;
    }
};

} // namespace

TEST_F(Handing, RunUsesTheDesktopsDialogOrAsksAndStartsTheCommandDetached) {
    runExternalApplication(ui, Desktop::Xfce, tools());
    EXPECT_EQ(started, QStringList{"xfce4-appfinder|--collapsed"});

    // No dialog of the desktop's own (or it would not start): Dovi asks.
    started.clear();
    const QString docs = folder("My Docs");
    ui.texts = {QString("gimp --new-instance \"/tmp/a b.png\""), QString(), docs};
    for (int i = 0; i < 3; ++i) // the second is empty: nothing starts
        runExternalApplication(ui, Desktop::Gnome, tools());
    EXPECT_EQ(started, QStringList{"gimp|--new-instance|/tmp/a b.png"});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(docs)});
    EXPECT_TRUE(ui.prompts.isEmpty());

    startWorks = false;
    ui.texts = {QString("no-such-program")};
    runExternalApplication(ui, Desktop::Mate, tools());
    EXPECT_EQ(ui.promptTexts(), QStringList{"Unable to run no-such-program"});
}

TEST_F(Handing, CopyPutsTheWholePreviewedPictureOrTheLogoOnTheClipboard) {
    const QString pics = folder("pics");
    test::writeImage(pics + "/big.bmp", {300, 200}, imaging::Bmp);
    ensureLogo(programFolder());
    QList<QSize> copied;
    int beeps = 0;
    auto copy = [&](const QString& previewed) {
        copyImageToClipboard(
            *ws, ui, previewed, [&](const QImage& image) { copied << image.size(); },
            [&] { ++beeps; });
    };
    copy(pics + "/big.bmp");
    copy("");
    QFile::remove(pics + "/big.bmp");
    copy(pics + "/big.bmp"); // gone since it was previewed
    EXPECT_EQ(copied.value(0), QSize(300, 200));
    EXPECT_EQ(historyLines(),
              QStringList({"Copied " + pics + "/big.bmp to clipboard",
                           "Copied " + programFolder() + "/dovilogo.jpg to clipboard"}));
    EXPECT_EQ(std::pair(copied.size(), beeps), std::pair(qsizetype(2), 2));
    EXPECT_EQ(ui.promptTexts(), QStringList{kUnsupportedImageMessage});
}
