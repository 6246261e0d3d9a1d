#include "fileops/windows/DestinationDialogChooser.h"

#include "fileops/windows/DestinationWindow.h"

namespace dovi {

DestinationDialogChooser::DestinationDialogChooser(QWidget* parent, Workspace& ws, Ui& ui)
    : parent_(parent), ws_(ws), ui_(ui) {}

fileops::DestinationResult DestinationDialogChooser::choose(fileops::ChooserMode mode) {
    DestinationWindow window(parent_, ws_, ui_, mode);
    window.exec();
    return window.outcome();
}

} // namespace dovi
