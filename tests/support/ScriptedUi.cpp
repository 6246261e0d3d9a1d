#include "ScriptedUi.h"

namespace dovi::test {

QStringList ScriptedUi::promptTexts() const {
    QStringList out;
    for (const Prompt& p : prompts)
        out << p.text;
    return out;
}

Answer ScriptedUi::messageBox(const QString& title, const QString& text, MessageButtons buttons,
                              MessageIcon icon) {
    prompts.append({title, text, buttons, icon});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
}

std::optional<QString> ScriptedUi::inputText(const QString& title, const QString& prompt,
                                             const QString&) {
    inputPrompts << title + QStringLiteral(": ") + prompt;
    if (texts.empty())
        return std::nullopt;
    const std::optional<QString> text = texts.front();
    texts.pop_front();
    return text;
}

QString ScriptedUi::nextPath() {
    if (chosenPaths.empty())
        return {};
    const QString path = chosenPaths.front();
    chosenPaths.pop_front();
    return path;
}

QString ScriptedUi::chooseOpenFile(const QString&, const QString&, const QString&) {
    return nextPath();
}
QString ScriptedUi::chooseSaveFile(const QString&, const QString&, const QString&) {
    return nextPath();
}
QString ScriptedUi::chooseFolder(const QString&, const QString&) {
    return nextPath();
}

} // namespace dovi::test
