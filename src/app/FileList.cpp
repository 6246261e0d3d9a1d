#include "app/FileList.h"

#include <QSet>

namespace dovi {

FileList::FileList(QStringList names) : names_(std::move(names)), selected_(names_.size(), false) {}

bool FileList::isSelected(qsizetype index) const {
    return index >= 0 && index < selected_.size() && selected_[index];
}

void FileList::setSelected(qsizetype index, bool selected) {
    if (index >= 0 && index < selected_.size())
        selected_[index] = selected;
}

void FileList::selectAll() {
    selected_.fill(true);
}

void FileList::selectNone() {
    selected_.fill(false);
}

QStringList FileList::selectedNames() const {
    QStringList out;
    for (qsizetype i = 0; i < names_.size(); ++i)
        if (selected_[i])
            out.append(names_[i]);
    return out;
}

void FileList::setCurrent(int index) {
    current_ = index >= 0 && index < names_.size() ? index : -1;
}

void FileList::reread(QStringList names) {
    QSet<QString> wasSelected;
    for (qsizetype i = 0; i < names_.size(); ++i)
        if (selected_[i])
            wasSelected.insert(names_[i]);
    const QString focused = current_ >= 0 ? names_[current_] : QString();

    names_ = std::move(names);
    selected_.fill(false, names_.size());
    current_ = -1;
    for (qsizetype i = 0; i < names_.size(); ++i) {
        selected_[i] = wasSelected.contains(names_[i]);
        if (current_ < 0 && !focused.isNull() && names_[i] == focused)
            current_ = int(i);
    }
}

} // namespace dovi
