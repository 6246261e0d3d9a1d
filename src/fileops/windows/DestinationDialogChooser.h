#pragma once
#include "fileops/DestinationChooser.h"

#include <QPointer>
#include <QWidget>

namespace dovi {

class Workspace;
class Ui;

// Asks through a fresh destination window each time, modal over parent.
class DestinationDialogChooser : public fileops::DestinationChooser {
public:
    DestinationDialogChooser(QWidget* parent, Workspace& ws, Ui& ui);
    fileops::DestinationResult choose(fileops::ChooserMode mode) override;

private:
    QPointer<QWidget> parent_;
    Workspace& ws_;
    Ui& ui_;
};

} // namespace dovi
