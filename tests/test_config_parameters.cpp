// SPDX-License-Identifier: GPL-3.0-or-later
// The measured-parameter rules: what each primary choice does to the secondary list and
// to the frequency and bias entries, and how bDC follows the focus leaving Ppar.
#include "test_config_helpers.h"

namespace {
QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

const QStringList lr40Ac = {"None", "Ls", "Lp", "Rs",  "Rp", "Cs", "Cp", "DF", "Q",
                            "Z",    "Y",  "P",  "ESR", "Gp", "Xs", "Bp", "V",  "I"};
const QStringList lr40Dc = {"None", "DCR", "DCI", "DCV"};
const QStringList px80Ac = {"None", "Ls", "Lp", "Rs", "Rp",  "Cs", "Cp", "DF",
                            "Q",    "Z",  "Y",  "P",  "ESR", "Gp", "Xs", "Bp"};
} // namespace

class ParameterRules : public QObject {
    Q_OBJECT
private slots:
    void listsAtOpening_data();
    void listsAtOpening();
    void selectionRule_data();
    void selectionRule();
    void focusLossRule_data();
    void focusLossRule();
};

void ParameterRules::listsAtOpening_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("primary");
    QTest::addColumn<QStringList>("secondary");
    QTest::addColumn<QString>("secondaryShown");
    QTest::newRow("LR40") << "LR40" << QStringList{"Auto", "Ls", "Lp", "Rs", "Rp",  "Cs",  "Cp",
                                                   "DF",   "Q",  "Z",  "Y",  "P",   "ESR", "Gp",
                                                   "Xs",   "Bp", "V",  "I",  "DCV", "DCR", "DCI"}
                          << QStringList{"None", "Ls", "Lp", "Rs", "Rp",  "Cs",  "Cp",
                                         "DF",   "Q",  "Z",  "Y",  "P",   "ESR", "Gp",
                                         "Xs",   "Bp", "V",  "I",  "DCV", "DCR", "DCI"}
                          << "None";
    QTest::newRow("PX80") << "PX80"
                          << QStringList{"Auto", "Ls", "Lp", "Rs", "Rp",  "Cs", "Cp", "DF",
                                         "Q",    "Z",  "Y",  "P",  "ESR", "Gp", "Xs", "Bp"}
                          << QStringList{"Ls", "Lp", "Rs", "Rp",  "Cs", "Cp", "DF", "Q",
                                         "Z",  "Y",  "P",  "ESR", "Gp", "Xs", "Bp"}
                          << "Ls";
}

void ParameterRules::listsAtOpening() {
    QFETCH(QString, variant);
    OpenConfigure c(variant);
    QCOMPARE(c.window->Ppar()->isEditable(), false);
    QCOMPARE(c.window->Spar()->isEditable(), false);
    QTEST(itemsOf(c.window->Ppar()), "primary");
    QTEST(itemsOf(c.window->Spar()), "secondary");
    QCOMPARE(c.window->Ppar()->currentText(), QStringLiteral("Auto"));
    QTEST(c.window->Spar()->currentText(), "secondaryShown");
    QVERIFY(!c.window->Spar()->isEnabled());
    QVERIFY(c.window->freq()->isEnabled());
    QVERIFY(c.window->Bias()->isEnabled());
    QVERIFY(!c.window->bDC());
}

void ParameterRules::selectionRule_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("picks"); // "Spar=..." picks the secondary
    QTest::addColumn<QStringList>("secondary");
    QTest::addColumn<QString>("secondaryShown");
    QTest::addColumn<bool>("secondaryEnabled");
    QTest::addColumn<bool>("frequencyAndBiasEnabled");

    QTest::newRow("LR40 AC choice")
        << "LR40" << QStringList{"Cs"} << lr40Ac << "None" << true << true;
    QTest::newRow("another AC choice resets the secondary")
        << "LR40" << QStringList{"Cs", "Spar=DF", "Cp"} << lr40Ac << "None" << true << true;
    QTest::newRow("the same choice again refills")
        << "LR40" << QStringList{"Cs", "Spar=DF", "Cs"} << lr40Ac << "None" << true << true;
    QTest::newRow("Auto keeps list and selection")
        << "LR40" << QStringList{"Cs", "Spar=DF", "Auto"} << lr40Ac << "DF" << false << true;
    QTest::newRow("DC greys frequency and bias")
        << "LR40" << QStringList{"DCV"} << lr40Dc << "None" << true << false;
    QTest::newRow("DC list after a secondary choice")
        << "LR40" << QStringList{"DCR", "Spar=DCI", "DCI"} << lr40Dc << "None" << true << false;
    QTest::newRow("Auto after DC enables them again")
        << "LR40" << QStringList{"DCV", "Auto"} << lr40Dc << "None" << false << true;
    QTest::newRow("AC after DC enables them again")
        << "LR40" << QStringList{"DCV", "Ls"} << lr40Ac << "None" << true << true;
    QTest::newRow("V is AC") << "LR40" << QStringList{"V"} << lr40Ac << "None" << true << true;
    QTest::newRow("I is AC") << "LR40" << QStringList{"I"} << lr40Ac << "None" << true << true;
    QTest::newRow("PX80 AC choice")
        << "PX80" << QStringList{"Cs"} << px80Ac << "None" << true << true;
    QTest::newRow("PX80 resets the secondary")
        << "PX80" << QStringList{"Cs", "Spar=DF", "Cp"} << px80Ac << "None" << true << true;
    QTest::newRow("PX80 Auto keeps list and selection")
        << "PX80" << QStringList{"Bp", "Spar=Q", "Auto"} << px80Ac << "Q" << false << true;
}

void ParameterRules::selectionRule() {
    QFETCH(QString, variant);
    QFETCH(QStringList, picks);
    QFETCH(bool, frequencyAndBiasEnabled);
    OpenConfigure c(variant);
    c.window->freq()->setText(QStringLiteral("2k"));
    for (const QString& choice : picks) {
        if (choice.startsWith(QLatin1String("Spar=")))
            pick(c.window->Spar(), choice.mid(5));
        else
            pick(c.window->Ppar(), choice);
    }
    QTEST(itemsOf(c.window->Spar()), "secondary");
    QTEST(c.window->Spar()->currentText(), "secondaryShown");
    QTEST(c.window->Spar()->isEnabled(), "secondaryEnabled");
    QCOMPARE(c.window->freq()->isEnabled(), frequencyAndBiasEnabled);
    QCOMPARE(c.window->Bias()->isEnabled(), frequencyAndBiasEnabled);
    // Greyed entries keep their texts.
    QCOMPARE(c.window->freq()->text(), QStringLiteral("2k"));
    QCOMPARE(c.window->Bias()->currentText(), QStringLiteral("Off"));
    QVERIFY(!c.window->bDC()); // the focus never left Ppar
    QVERIFY(c.program.port->commands().isEmpty());
}

void ParameterRules::focusLossRule_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("choices"); // each picked in Ppar, then Ppar is left
    QTest::addColumn<bool>("dc");
    QTest::addColumn<bool>("secondaryEnabled");
    QTest::newRow("LR40 DC") << "LR40" << QStringList{"DCR"} << true << true;
    QTest::newRow("LR40 AC") << "LR40" << QStringList{"Z"} << false << true;
    QTest::newRow("LR40 DC then AC") << "LR40" << QStringList{"DCI", "Y"} << false << true;
    QTest::newRow("LR40 DC then Auto") << "LR40" << QStringList{"DCV", "Auto"} << false << false;
    QTest::newRow("PX80 AC") << "PX80" << QStringList{"Rs"} << false << true;
    QTest::newRow("PX80 AC then Auto") << "PX80" << QStringList{"Rs", "Auto"} << false << false;
}

void ParameterRules::focusLossRule() {
    QFETCH(QString, variant);
    QFETCH(QStringList, choices);
    OpenConfigure c(variant);
    for (const QString& choice : choices)
        setByOperator(c.window, QStringLiteral("Ppar"), choice);
    QTEST(c.window->bDC(), "dc");
    QTEST(c.window->Spar()->isEnabled(), "secondaryEnabled");
    QCOMPARE(c.window->freq()->isEnabled(), !c.window->bDC());
    QCOMPARE(c.window->Bias()->isEnabled(), !c.window->bDC());
}

QTEST_MAIN(ParameterRules)
#include "test_config_parameters.moc"
