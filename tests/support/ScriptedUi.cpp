#include "ScriptedUi.h"

namespace dovi::test {

QStringList ScriptedUi::promptTexts() const {
    QStringList out;
    for (const Prompt& p : prompts)
        out << p.text;
    return out;
}

int ScriptedUi::highestProgress() const {
    int top = 0;
    for (int v : progressValues)
        top = std::max(top, v);
    return top;
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
                                             const QString& initial) {
    inputPresets << initial;
    inputPrompts << title + QStringLiteral(": ") + prompt;
    if (texts.empty())
        return std::nullopt;
    const bool cancelled = !texts.front().has_value();
    const QString value = texts.front().value_or(QString());
    texts.pop_front();
    if (cancelled)
        return std::nullopt;
    return value;
}

QString ScriptedUi::nextPath() {
    if (chosenPaths.empty())
        return {};
    QString p = chosenPaths.front();
    chosenPaths.pop_front();
    return p;
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
