#pragma once
#include <QPushButton>
#include <QWidget>

namespace dovi {

class Workspace;

// The detailed list's cancel window "Stop It!": one button, "Cancel", which
// asks the running list to stop after the current file.
class StopItWindow : public QWidget {
    Q_OBJECT
public:
    StopItWindow(QWidget* parent, Workspace& ws);
    QPushButton* cancelButton() const { return cancel_; }

private:
    QPushButton* cancel_;
};

} // namespace dovi
