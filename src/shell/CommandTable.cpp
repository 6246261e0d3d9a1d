#include "shell/CommandTable.h"

namespace dovi {

const QList<MenuCommand>& menuCommands() {
    static const QList<MenuCommand> rows = {
        {"&File", "", "&Copy File(s)", "Ctrl+C", "mnucopy"},
        {"&File", "", "&Move File(s)", "Ctrl+M", "mnumove"},
        {"&File", "", "&Delete File(s)", "Del", "mnudelete"},
        {"&File", "", "&Rename File", "F2", "mnurename"},
        {"&File", "", "-", "", ""},
        {"&File", "", "&Extension Conformity", "", "mnuconform"},
        {"&File", "", "-", "", ""},
        {"&File", "", "Generate Detailed List", "", "mnuDetail"},
        {"&File", "", "-", "", ""},
        {"&File", "", "Create Folder", "", "mnucreate"},
        {"&File", "", "Remove Folder", "", "mnuremove"},
        {"&File", "", "Go to Startup Folder", "", "mnudefault"},
        {"&File", "", "-", "", ""},
        {"&File", "File Series", "Create a Series", "", "mnucreateseries"},
        {"&File", "File Series", "Add to a Series", "", "mnuaddseries"},
        {"&File", "File Series", "-", "", ""},
        {"&File", "File Series", "Clear Series History", "", "mnuclearhist"},
        {"&File", "", "-", "", ""},
        {"&File", "", "Quit Dovi", "", "mnuquit"},
        {"&Tools", "", "Process Image File(s)", "", "mnuprocess"},
        {"&Tools", "Apply Batch Filter", "Auto Contrast", "", "mnuautocont"},
        {"&Tools", "Apply Batch Filter", "Buttonize", "", "mnubutton"},
        {"&Tools", "Apply Batch Filter", "Emboss", "", "mnuemboss"},
        {"&Tools", "Apply Batch Filter", "Flip", "", "mnuFlip"},
        {"&Tools", "Apply Batch Filter", "Median", "", "mnubatmedian"},
        {"&Tools", "Apply Batch Filter", "Mirror", "", "mnumirror"},
        {"&Tools", "Apply Batch Filter", "Negate", "", "mnuNegate"},
        {"&Tools", "", "-", "", ""},
        {"&Tools", "", "Copy Image to Clipboard", "", "mnuclip"},
        {"&Tools", "", "Set Image as Wallpaper", "", "mnuwallpaper"},
        {"&Tools", "", "-", "", ""},
        {"&Tools", "", "Run External Application", "", "mnuRun"},
        {"&Tools", "", "Launch File Manager", "", "mnuexplorer"},
        {"&Hold List", "", "Open Hold List", "", "mnuopenhold"},
        {"&Hold List", "", "Save Hold List", "", "mnusavehold"},
        {"&Hold List", "", "-", "", ""},
        {"&Hold List", "", "Add Item(s) to List", "", "mnuadd"},
        {"&Hold List", "", "Remove Item from List", "", "mnuremovehold"},
        {"&Hold List", "", "Clear the Hold List", "", "mnuclearhold"},
        {"&Hold List", "", "Go to Held path", "", "mnuheldpath"},
        {"&View", "", "View Quick Links", "", "mnuquick"},
        {"&View", "", "View Slideshow", "", "mnuslideshow"},
        {"&View", "", "View Thumbnails", "", "mnuThumbs"},
        {"&View", "", "-", "", ""},
        {"&View", "", "Running History", "", "mnuRunningHist"},
        {"&View", "", "Dovi Preferences", "", "mnuprefs"},
        {"&Help", "", "About Dovi", "", "mnuabout"},
    };
    return rows;
}

const QList<ToolbarCommand>& toolbarCommands() {
    static const QList<ToolbarCommand> rows = {
        {"process", "Process Image(s)", "mnuprocess", "system-run"},
        {"newfolder", "New Folder", "mnucreate", "folder-new"},
        {"removefolder", "Remove Folder", "mnuremove", "edit-delete"},
        {"default", "Go to Startup Folder", "mnudefault", "go-home"},
        {"qlink", "Show Quick Links", "mnuquick", "bookmark-new"},
        {"copy", "Copy File(s)", "mnucopy", "edit-copy"},
        {"move", "Move File(s)", "mnumove", "edit-cut"},
        {"delete", "Delete File(s)", "mnudelete", "user-trash"},
        {"rename", "Rename File", "mnurename", "edit-find-replace"},
        {"series", "Create a Series", "mnucreateseries", "view-sort-ascending"},
        {"addseries", "Add to Series", "mnuaddseries", "list-add"},
        {"open", "Open Hold List", "mnuopenhold", "document-open"},
        {"save", "Save Hold List", "mnusavehold", "document-save"},
        {"clear", "Clear Hold List", "mnuclearhold", "edit-clear"},
        {"delhold", "Remove Item from Hold List", "mnuremovehold", "list-remove"},
        {"gofolder", "Go To Held Folder", "mnuheldpath", "go-jump"},
        {"slideshow", "Slide Show", "mnuslideshow", "media-playback-start"},
        {"thumbs", "Thumbnail Viewer", "mnuThumbs", "image-x-generic"},
        {"wallpaper", "Set Image as Wallpaper", "mnuwallpaper", "preferences-desktop-wallpaper"},
        {"settings", "Dovi Preferences", "mnuprefs", "preferences-system"},
        {"history", "Show Running History", "mnuRunningHist", "document-open-recent"},
        {"run", "Run External Program", "mnuRun", "system-run"},
        {"explorer", "Launch File Manager", "mnuexplorer", "system-file-manager"},
        {"quit", "Quit Dovi", "mnuquit", "application-exit"},
    };
    return rows;
}

bool runToolbarKey(const CommandDispatcher& commands, const QString& key) {
    for (const ToolbarCommand& row : toolbarCommands())
        if (row.key == key)
            return commands.runControl(row.control);
    return false;
}

} // namespace dovi
