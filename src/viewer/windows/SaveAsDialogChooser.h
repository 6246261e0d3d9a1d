#pragma once
#include "viewer/ViewerDocument.h"

#include <QPointer>
#include <QWidget>

namespace dovi {

// The Save As chooser on screen: the desktop's save dialog with the type
// list, which asks no overwrite question of its own (the viewer asks it
// about the name it really writes).
class SaveAsDialogChooser : public viewer::SaveAsChooser {
public:
    explicit SaveAsDialogChooser(QWidget* parent) : parent_(parent) {}
    viewer::SaveAsChoice chooseSaveAs(const QString& title, const QString& preset,
                                      const QStringList& filters) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace dovi
