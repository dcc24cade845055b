// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Answers message boxes and file dialogs from a script and records every one shown.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        MessageButtons buttons;
        MessageIcon icon;
        QString title;
    };

    MessageAnswer message(const QString& text, MessageButtons buttons, MessageIcon icon,
                          const QString& title) override;
    std::optional<QString> chooseFile(const QString& filter, const QString& title) override;
    std::optional<QString> chooseSaveFile(const QString& filter, const QString& title) override;

    // Answers used in order; when none is left: OK, or Yes for a Yes/No question.
    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    // Answers the next file dialog, open or save; when none is left: cancelled.
    void queueFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    // Runs while a message is shown (the program is blocked inside it).
    void onMessage(std::function<void(const Shown&)> hook) { m_hook = std::move(hook); }

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }
    const QStringList& fileDialogs() const { return m_fileDialogs; } // "title|filter"

private:
    std::optional<QString> nextFile(const QString& filter, const QString& title);

    std::vector<Shown> m_shown;
    std::deque<MessageAnswer> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::function<void(const Shown&)> m_hook;
    QStringList m_fileDialogs;
};
