#pragma once
#include <QString>
#include <functional>

class QToolBar;
class QWidget;

namespace dovi {

// The series windows' toolbar: two buttons keyed "okay" and "cancel", each
// handing its key to run.
QToolBar* makeOkayCancelBar(QWidget* parent, std::function<void(const QString&)> run);

} // namespace dovi
