// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedDialogs.h"

MessageAnswer ScriptedDialogs::message(const QString& text, MessageButtons buttons,
                                       MessageIcon icon, const QString& title) {
    m_shown.push_back({text, buttons, icon, title});
    if (m_hook)
        m_hook(m_shown.back());
    if (!m_answers.empty()) {
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::optional<QString> ScriptedDialogs::chooseFile(const QString& filter, const QString& title) {
    return nextFile(filter, title);
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(const QString& filter,
                                                       const QString& title) {
    return nextFile(filter, title);
}

std::optional<QString> ScriptedDialogs::nextFile(const QString& filter, const QString& title) {
    m_fileDialogs << title + QLatin1Char('|') + filter;
    if (m_files.empty())
        return std::nullopt;
    // Taken apart so that no compiler sees a moved-from optional.
    const bool chosen = m_files.front().has_value();
    const QString path = m_files.front().value_or(QString());
    m_files.pop_front();
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

QStringList ScriptedDialogs::texts() const {
    QStringList all;
    for (const Shown& s : m_shown)
        all << s.text;
    return all;
}
