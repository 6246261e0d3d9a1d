#include "viewer/windows/SaveAsDialogChooser.h"

#include <QFileDialog>

namespace dovi {

viewer::SaveAsChoice SaveAsDialogChooser::chooseSaveAs(const QString& title, const QString& preset,
                                                       const QStringList& filters) {
    QString chosenFilter = filters.value(0);
    const QString path =
        QFileDialog::getSaveFileName(parent_, title, preset, filters.join(QStringLiteral(";;")),
                                     &chosenFilter, QFileDialog::DontConfirmOverwrite);
    return {path, std::max(0, int(filters.indexOf(chosenFilter)))};
}

} // namespace dovi
