#pragma once

#include <QtGlobal>

class FrmMeasure;
class ProgramRoot;
struct SweepSettings;

// One press of Start: reads the sweep entries, then takes a single measurement or steps
// through the sweep, showing and logging each result. Failures throw (PortError,
// MeasurementFailure); a reply time-out ends the run quietly, the reader having said so.
class MeasurementRun {
public:
    MeasurementRun(FrmMeasure& window, ProgramRoot& root) : m_window(window), m_root(root) {}

    void execute();

private:
    void single();
    void sweep(const SweepSettings& settings);
    // Triggers one measurement and fetches its reply; false when the instrument was silent.
    bool triggerAndFetch();
    void showReply();
    void complete();

    FrmMeasure& m_window;
    ProgramRoot& m_root;
};
