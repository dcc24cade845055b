// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed into any checked entry of either program: the check never crashes, and
// the entry is left holding a text that its own check accepts (StopFreq excepted: after its
// start + 1 reset no second check runs, so it may hold a value above its limit).
#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "config/ControlText.h"
#include "config/EntryChecks.h"
#include "support/TestProgram.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
struct Program {
    explicit Program(const InstrumentVariant& variant) : test(variant) {
        test.connect();
        ProgramRoot& root = *test.root;
        checks = std::make_unique<EntryChecks>(root.variant(), root.dialogs(),
                                               root.module1().Identity, root.configure());
    }
    TestProgram test;
    std::unique_ptr<EntryChecks> checks;
};

struct Fixture {
    Fixture() : app(argc, argv), lr40(lr40Profile()), px80(px80Profile()) {}
    int argc = 1;
    char name[8] = "fuzzer";
    char* argv[2] = {name, nullptr};
    QApplication app;
    Program lr40;
    Program px80;
};

Fixture& fixture() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static Fixture f;
    return f;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    Fixture& f = fixture();
    Program& program = (data[0] & 1) ? f.px80 : f.lr40;
    const std::vector<EntryRule>& rules = program.test.root->variant().config.entryRules;
    const EntryRule& rule = rules.at(data[1] % rules.size());
    static const char* const models[] = {"Model LR41", "Model LR42", "", " PX80"};
    program.test.root->module1().Identity.Model = QString::fromLatin1(models[(data[0] >> 1) % 4]);

    QWidget* entry = program.test.root->configure().findChild<QWidget*>(rule.entry);
    if (!entry)
        std::abort();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2),
                                           static_cast<qsizetype>(size - 2));
    setControlText(entry, text);
    program.checks->check(rule);

    if (rule.entry != QLatin1String("StopFreq")) {
        program.test.dialogs->clear();
        program.checks->check(rule);
        if (!program.test.dialogs->shown().empty())
            std::abort(); // the reset text was refused by its own check
    }
    program.test.dialogs->clear();
    return 0;
}
