// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFocusEvent>

#include <functional>
#include <utility>

// Tells the window when the operator moves the focus away from a control: Tab, a click
// on another control, or a focus set by the program. Opening the control's own list and
// switching to another window (a message box included) do not count as leaving it.
class FocusLossReporter {
public:
    virtual ~FocusLossReporter() = default;
    void onFocusLost(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void reportFocusLoss(const QFocusEvent* event) const {
        const Qt::FocusReason reason = event->reason();
        // Qt sends a list's popup a second focus change of another reason while it opens.
        const bool intoPopup =
            reason == Qt::PopupFocusReason || QApplication::activePopupWidget() != nullptr;
        if (m_handler && !intoPopup && reason != Qt::ActiveWindowFocusReason)
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

// A control that runs its focus-loss handler after its own focus-out work is done, so a
// handler that hands the focus back finds the control in a settled state.
template <typename Control> class ReportsFocusLoss : public Control, public FocusLossReporter {
public:
    using Control::Control;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        Control::focusOutEvent(event);
        reportFocusLoss(event);
    }
};
