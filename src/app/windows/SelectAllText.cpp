#include "app/windows/SelectAllText.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

namespace dovi {

void selectAllText(QLineEdit* box) {
    if (box && !box->text().isEmpty())
        box->setSelection(0, static_cast<int>(box->text().size()));
}

namespace {
class FocusSelector : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            // After the focus event: a mouse click would otherwise place the
            // cursor and undo the selection at once.
            QTimer::singleShot(0, box, [box] { selectAllText(box); });
        }
        return false;
    }
};
} // namespace

void selectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new FocusSelector(box));
}

} // namespace dovi
