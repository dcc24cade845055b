#include "sweepview/SweepView.h"

#include "export/SweepColumns.h"
#include "platform/Dialogs.h"
#include "run/TimeLeftEstimate.h"
#include "sweepview/PlainTextDelegate.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepChart.h"
#include "sweepview/SweepExport.h"
#include "sweepview/SweepTableModel.h"
#include "widgets/PanelLook.h"
#include "widgets/WidgetFactory.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString WindowTitle = QStringLiteral("Sweep");

void keepSizeFor(QLabel& label, const QString& widest) {
    label.setFixedSize(label.fontMetrics().horizontalAdvance(widest), label.sizeHint().height());
}
} // namespace

SweepView::SweepView(const RunRecord& record, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(record), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("SweepView"));
    setWindowTitle(WindowTitle);
    buildControls();
    layOutControls();
    PanelLook::dressWindow(*this);
    // Rows as tall as their text needs, so that the table shows more of the run.
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    // Flat scroll bars in the panel's greys: the styles' own, drawn with gradients, cost a
    // fifth of each point while the table grows by a row at every point.
    m_table->setStyleSheet(
        QStringLiteral("QScrollBar { background-color: %1; border: none; }"
                       "QScrollBar:vertical { width: 1.2em; }"
                       "QScrollBar:horizontal { height: 1.2em; }"
                       "QScrollBar::handle { background-color: %2; border: 1px solid %3;"
                       " border-radius: 2px; }"
                       "QScrollBar::handle:vertical { min-height: 2em; }"
                       "QScrollBar::handle:horizontal { min-width: 2em; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(PanelLook::rgb(PanelLook::ButtonGrey), PanelLook::rgb(PanelLook::WindowGrey),
                 PanelLook::rgb(QColor(112, 112, 112))));
    // Progress texts of a fixed size: the row does not jump as they change, and a change
    // (at every point) does not lay the whole window out again.
    keepSizeFor(*m_progress, QStringLiteral("Point 00000 of 00000"));
    keepSizeFor(*m_timeLeft, QStringLiteral("About 0000 min 00 s left"));

    connect(m_logFrequency, &QCheckBox::toggled, m_chart, &SweepChart::setLogFrequency);
    connect(m_copy, &QPushButton::clicked, this, &SweepView::copyTable);
    connect(m_saveData, &QPushButton::clicked, this, &SweepView::saveData);
    connect(m_saveImage, &QPushButton::clicked, this, &SweepView::saveImage);
    connect(&record, &RunRecord::begun, this, &SweepView::rebuild);
    // Nothing is drawn inside the run's own steps: the view catches up with the record when
    // the run next lets events run (at the top of each point and in its polls), and fits
    // the chart once the run has returned.
    connect(&record, &RunRecord::pointAdded, this, &SweepView::catchUpLater);
    connect(&record, &RunRecord::ended, this, &SweepView::catchUpLater);

    rebuild();
    m_table->resizeColumnsToContents();
    resize(900, 640);
}

void SweepView::buildControls() {
    m_model = new SweepTableModel(m_record, this);
    m_chart = new SweepChart;

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("SweepTable"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new PlainTextDelegate(m_table));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideNone);
    // The point number is a column of its own.
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_logFrequency = new QCheckBox(QStringLiteral("Log frequency"));
    m_logFrequency->setObjectName(QStringLiteral("LogFrequency"));
    m_progress = new QLabel;
    m_progress->setObjectName(QStringLiteral("SweepProgress"));
    m_timeLeft = new QLabel;
    m_timeLeft->setObjectName(QStringLiteral("SweepTimeLeft"));

    m_copy = Widgets::button(this, QStringLiteral("SweepCopy"), QStringLiteral("Copy"));
    m_saveData =
        Widgets::button(this, QStringLiteral("SweepSaveData"), QStringLiteral("Save data..."));
    m_saveImage =
        Widgets::button(this, QStringLiteral("SweepSaveImage"), QStringLiteral("Save image..."));
}

void SweepView::layOutControls() {
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_chart);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({400, 200});

    auto* row = new QHBoxLayout;
    row->addWidget(m_logFrequency);
    row->addSpacing(16);
    row->addWidget(m_progress);
    row->addSpacing(16);
    row->addWidget(m_timeLeft);
    row->addStretch(1);
    row->addWidget(m_copy);
    row->addWidget(m_saveData);
    row->addWidget(m_saveImage);

    auto* main = new QVBoxLayout(this);
    main->addWidget(splitter, 1);
    main->addLayout(row);

    setTabOrder(m_table, m_logFrequency);
    setTabOrder(m_logFrequency, m_copy);
    setTabOrder(m_copy, m_saveData);
    setTabOrder(m_saveData, m_saveImage);
}

void SweepView::rebuild() {
    // The axis first, so that the points are placed only once.
    m_logFrequency->setChecked(m_record.outline().logarithmic);
    m_chart->clear(m_record.outline());
    m_charted = 0;
    catchUp();
}

void SweepView::catchUpLater() {
    if (m_catchUpPending)
        return;
    m_catchUpPending = true;
    QMetaObject::invokeMethod(this, &SweepView::catchUp, Qt::QueuedConnection);
}

void SweepView::catchUp() {
    m_catchUpPending = false;
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (m_charted < points.size()) {
        // The table follows a run while it shows the last row, and stays where the operator
        // scrolled to otherwise.
        const QScrollBar* bar = m_table->verticalScrollBar();
        const bool following = bar->value() == bar->maximum();
        // The columns take the width of the run's texts once, from its first row.
        const bool firstRows = m_charted == 0;
        for (; m_charted < points.size(); ++m_charted)
            m_chart->addPoint(points[m_charted]);
        if (firstRows)
            m_table->resizeColumnsToContents();
        if (following)
            m_table->scrollToBottom();
    }
    if (!m_record.running())
        m_chart->fitToData();
    showProgress();
}

void SweepView::showProgress() {
    const std::vector<MeasuredPoint>& points = m_record.points();
    if (points.empty()) {
        m_progress->clear();
        m_timeLeft->clear();
        return;
    }
    const RunOutline& outline = m_record.outline();
    const int reached = points.back().index + 1;
    m_progress->setText(QStringLiteral("Point %1 of %2").arg(reached).arg(outline.pointCount));
    if (!m_record.running()) {
        // A stopped or failed run says nothing about the time it would have taken.
        m_timeLeft->setText(reached >= outline.pointCount ? QStringLiteral("Complete") : QString());
        return;
    }
    const std::optional<double> left =
        TimeLeftEstimate::secondsLeft(outline, m_record.beganAt(), m_record.pointTimes());
    m_timeLeft->setText(left ? TimeLeftEstimate::describe(*left) : QString());
}

void SweepView::copyTable() {
    QGuiApplication::clipboard()->setText(SweepColumns::tabSeparated(m_record.points()));
}

// The dialogs of this window leave the run going: they return at once, and the export is
// written when the operator has chosen, from the record as it is then.
void SweepView::saveData() {
    m_dialogs.chooseSaveFileThen(
        QStringLiteral("Csv files (*.csv)|*.csv| All Files (*.*)|*.*|"),
        QStringLiteral("Save data"), this, [this](const std::optional<QString>& path) {
            if (!path)
                return;
            if (const std::optional<QString> failure =
                    SweepExport::writeText(*path, SweepColumns::commaSeparated(m_record.points())))
                reportSaveFailure(*path, *failure);
        });
}

void SweepView::saveImage() {
    m_dialogs.chooseSaveFileThen(
        QStringLiteral("PNG image (*.png)|*.png|JPEG image (*.jpg)|*.jpg|BMP image (*.bmp)|*.bmp|"
                       "SVG image (*.svg)|*.svg|"),
        QStringLiteral("Save image"), this, [this](const std::optional<QString>& path) {
            if (!path)
                return;
            if (const std::optional<QString> failure = SweepExport::writeImage(*path, *m_chart))
                reportSaveFailure(*path, *failure);
        });
}

// As the log file's failures: the path, two blanks, the reason.
void SweepView::reportSaveFailure(const QString& path, const QString& reason) {
    m_dialogs.messageThen(path + QStringLiteral("  ") + reason, MessageButtons::Ok,
                          MessageIcon::None, WindowTitle, this, [](MessageAnswer) {});
}
