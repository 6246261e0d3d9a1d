#pragma once

class QDialog;
class QToolBar;

namespace dovi {

// The toolbar of every viewer dialog: "okay" ("Okay") accepts the dialog,
// "cancel" ("Cancel") rejects it.
QToolBar* addOkayCancelBar(QDialog* dialog);

} // namespace dovi
