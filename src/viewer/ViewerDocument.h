#pragma once
#include "imaging/ImagingEngine.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::viewer {

// The Save As file dialog: a name and the type entry chosen with it; an
// empty path when cancelled.
struct SaveAsChoice {
    QString path;
    int filter = 0;
};
class SaveAsChooser {
public:
    virtual ~SaveAsChooser() = default;
    virtual SaveAsChoice chooseSaveAs(const QString& title, const QString& preset,
                                      const QStringList& filters) = 0;
};

// One of the viewer's parameterless filters.
struct ViewerFilter {
    QString caption; // the Functions menu's item
    bool (*apply)(imaging::ImagingEngine&);
};
const QList<ViewerFilter>& viewerFilters();
const ViewerFilter* findViewerFilter(const QString& caption);

enum class CloseAnswer { Close, Stay };

// The picture open in the viewer and what the viewer's commands do to it:
// plain code over the workspace and the Ui seam, so every rule runs without
// a screen. Saves replace a file only through a temporary file renamed over
// it; a failed save says why, changes nothing on disk and keeps the edits.
class ViewerDocument {
public:
    ViewerDocument(Workspace& ws, Ui& ui);

    // Loads the file: the flags are cleared and "Viewed <path>" goes to the
    // running history. A file that cannot be read is reported and leaves the
    // document as it was (false).
    bool open(const QString& path);

    imaging::ImagingEngine& engine() { return engine_; }
    const imaging::ImagingEngine& engine() const { return engine_; }
    const QString& fileName() const { return fileName_; }
    const QString& saveFileName() const { return saveFileName_; }
    imaging::FormatCode saveFormat() const { return saveFormat_; }
    bool modified() const { return modified_; }
    bool savedAs() const { return savedAs_; }
    // A dialog kept a change to the picture.
    void markModified() { modified_ = true; }

    // "<path>  X:<width>  Y:<height>".
    QString caption() const;

    // Crops to the picture under the view rectangle start..end of a view
    // scrolled by scroll. Marks the picture changed even when the rectangle
    // is not two-dimensional and nothing is cropped.
    void crop(QPoint start, QPoint end, QPoint scroll);
    // One of the Functions menu's filters, the busy state around it.
    bool applyFilter(const ViewerFilter& filter);
    // Back to the picture before the latest change; the changed flag stays.
    void undo();

    // Save: the picture to its save name in its save format.
    bool save();
    // Save As: asks for a name and a type, then writes the picture there.
    bool saveAs(SaveAsChooser& chooser);
    // The close procedure: with unsaved changes asks "Save Your Changes ?".
    // Stay for Cancel, or when the save of Yes failed.
    CloseAnswer closeFile();
    // Crop-Save-Close: crop, save to the save name, then close; Stay (with
    // the cropped picture still changed) when the save failed.
    CloseAnswer cropSaveClose(QPoint start, QPoint end, QPoint scroll);
    // The window has closed: after a Save As the main window's list is read
    // again, so the new file shows.
    void windowClosed();

private:
    bool writePicture(const QString& path, imaging::FormatCode format);
    void busy(bool on);

    Workspace& ws_;
    Ui& ui_;
    imaging::ImagingEngine engine_;
    QString fileName_;
    QString saveFileName_;
    imaging::FormatCode saveFormat_ = imaging::Bmp;
    bool modified_ = false;
    bool savedAs_ = false;
};

} // namespace dovi::viewer
