#pragma once
class QLineEdit;

namespace dovi {

// Selects the whole text of a box that holds any ("640" selects all three
// characters); an empty box is left alone.
void selectAllText(QLineEdit* box);

// Makes a text box select all its text whenever it gains the focus, as every
// number and name box of Dovi's dialogs does.
void selectAllOnFocus(QLineEdit* box);

} // namespace dovi
