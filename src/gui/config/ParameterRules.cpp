// SPDX-License-Identifier: GPL-3.0-or-later
// The measured-parameter rules of the configuration window: what a primary choice does
// to the secondary list, the frequency and bias entries, and bDC.
#include "config/Configure.h"

#include "profiles/InstrumentVariant.h"
#include "settings/ParameterChoice.h"

#include <QComboBox>
#include <QLineEdit>

void Configure::Ppar_Click() {
    const ConfigProfile& profile = m_variant.config;
    const QString primary = m_ppar->currentText();
    if (primary == AutoPrimary) {
        // The secondary list and its selection stay as they are, unused.
        m_spar->setEnabled(false);
        m_freq->setEnabled(true);
        m_bias->setEnabled(true);
        return;
    }
    const bool dc = isDcPrimary(profile, primary);
    m_spar->setEnabled(true);
    m_freq->setEnabled(!dc);
    m_bias->setEnabled(!dc);
    // Every choice refills, even with the same list, so the secondary is "None" again.
    refillSecondary(secondaryItemsFor(profile, primary));
}

void Configure::refillSecondary(const QStringList& items) {
    m_spar->clear();
    m_spar->addItems(items);
    m_spar->setCurrentIndex(0);
}

void Configure::Ppar_LostFocus() {
    Ppar_Change();
}

void Configure::Ppar_Change() {
    // Never refills and never enables freq or Bias again: the selection rule did that.
    const QString primary = m_ppar->currentText();
    if (primary == AutoPrimary) {
        m_spar->setEnabled(false);
        m_bDC = false;
    } else if (isDcPrimary(m_variant.config, primary)) {
        m_freq->setEnabled(false);
        m_bias->setEnabled(false);
        m_bDC = true;
    } else {
        m_spar->setEnabled(true);
        m_bDC = false;
    }
}
