#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace dovi {

// The names the file list shows, which of them the user has selected, and
// the entry that has the focus. One type, so a name and its selection flag
// cannot come apart: every change of the names changes the flags with them.
class FileList {
public:
    FileList() = default;
    // A fresh listing: nothing selected, no entry focused.
    explicit FileList(QStringList names);

    const QStringList& names() const { return names_; }
    qsizetype size() const { return names_.size(); }
    bool isEmpty() const { return names_.isEmpty(); }
    const QString& at(qsizetype index) const { return names_.at(index); }
    qsizetype indexOf(const QString& name) const { return names_.indexOf(name); }
    bool contains(const QString& name) const { return names_.contains(name); }

    // False, and ignored, for an index outside the list.
    bool isSelected(qsizetype index) const;
    void setSelected(qsizetype index, bool selected);
    void selectAll();
    void selectNone();
    // The selected names in list order.
    QStringList selectedNames() const;

    // The focused entry, or -1; an index outside the list focuses none.
    int current() const { return current_; }
    void setCurrent(int index);

    // The same folder read again: names still listed keep their selection
    // and the focus; new names come unselected.
    void reread(QStringList names);

private:
    QStringList names_;
    QList<bool> selected_; // one flag per name, always
    int current_ = -1;
};

} // namespace dovi
