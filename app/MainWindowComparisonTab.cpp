// Tab "Spectrum Comparison": the comparison set, its options and its plot.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace ymt::form;

namespace {
// Font colours of the ten entries, matching their curve colours (0x00BBGGRR).
constexpr ymt::Color kEntryColors[10] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFFFF00,
                                         0xFF00FF, 0x000080, 0x800000, 0x008000, 0x008080};
constexpr const char* kEntryNames[10] = {"CheckBox3",  "CheckBox4", "CheckBox6",  "CheckBox7",
                                         "CheckBox8",  "CheckBox9", "CheckBox10", "CheckBox11",
                                         "CheckBox12", "CheckBox13"};
} // namespace

QWidget* TForm1::buildComparisonTab() {
    auto* panel = new QWidget;
    panel->setFixedWidth(210);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto* add = button("Button19", QStringLiteral("Add Curve(s) to Set..."));
    auto* clear = button("Button20", QStringLiteral("New Set..."));
    auto* save = button("Button21", QStringLiteral("Save Set..."));
    column->addWidget(add);
    column->addWidget(clear);
    column->addWidget(save);

    for (int entry = 0; entry < 10; ++entry) {
        QCheckBox* box = checkBox(kEntryNames[entry], QStringLiteral("empty"));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, ymt::toQColor(kEntryColors[entry]));
        palette.setColor(QPalette::ButtonText, ymt::toQColor(kEntryColors[entry]));
        box->setPalette(palette);
        comparisonChecks[entry] = box;
        column->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, entry] { ComparisonEntryClick(entry + 1); });
    }

    curveGroup = radioGroup("RadioGroup1", QStringLiteral("Curve "),
                            {QStringLiteral("Impedance |Z|"), QStringLiteral("Phase theta")}, 0);
    comparisonLogCheck = checkBox("CheckBox14", QStringLiteral("Logarithmic"), true);
    column->addWidget(curveGroup);
    column->addWidget(comparisonLogCheck);

    auto* range = groupBox("GroupBox9", QStringLiteral("Frequency Range [kHz]"));
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->setVerticalSpacing(2);
    comparisonStartEdit = edit("Edit18", QStringLiteral("0.04"));
    comparisonStopEdit = edit("Edit19", QStringLiteral("110000"));
    addRow(rangeGrid, 0, "Label66", QStringLiteral("Start"), comparisonStartEdit);
    addRow(rangeGrid, 1, "Label67", QStringLiteral("Stop"), comparisonStopEdit);
    comparisonAutoscaleCheck = checkBox("CheckBox16", QStringLiteral("Autoscale Freqency"));
    rangeGrid->addWidget(comparisonAutoscaleCheck, 2, 0, 1, 2);
    column->addWidget(range);
    column->addStretch(1);

    qgraph = new ymt::TFastGraph;
    qgraph->setObjectName(QStringLiteral("qgraph"));
    qgraph->setMinimumSize(300, 200);

    auto* page = new QWidget;
    // The reading plot is never shown; it only receives a file while it is read.
    tmpgraph = hidden(new ymt::TFastGraph(page));
    tmpgraph->setObjectName(QStringLiteral("tmpgraph"));
    tmpgraph->setGeometry(0, 0, 129, 43);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(panel);
    layout->addWidget(qgraph, 1);

    connect(add, &QPushButton::clicked, this, &TForm1::Button19Click);
    connect(clear, &QPushButton::clicked, this, &TForm1::Button20Click);
    connect(save, &QPushButton::clicked, this, &TForm1::Button21Click);
    connect(curveGroup, &ymt::TRadioGroup::itemClicked, this, &TForm1::RadioGroup1Click);
    connect(comparisonLogCheck, &QCheckBox::clicked, this, &TForm1::CheckBox14Click);
    connect(comparisonAutoscaleCheck, &QCheckBox::clicked, this, &TForm1::CheckBox16Click);
    onLeave(comparisonStartEdit, &TForm1::Edit18Exit);
    onLeave(comparisonStopEdit, &TForm1::Edit19Exit);
    return page;
}

// Add Curve(s) to Set...: filled by the comparison-set work.
void TForm1::Button19Click() {}
// New Set...: filled by the comparison-set work.
void TForm1::Button20Click() {}
// Save Set...: filled by the comparison-set work.
void TForm1::Button21Click() {}
// Entry check boxes (CheckBox3Click ... CheckBox13Click): filled by the comparison-set work.
void TForm1::ComparisonEntryClick(int) {}
// Curve group: filled by the comparison-set work.
void TForm1::RadioGroup1Click() {}
// Logarithmic: filled by the comparison-set work.
void TForm1::CheckBox14Click() {}
// Autoscale Freqency: filled by the comparison-set work.
void TForm1::CheckBox16Click() {}
// Range Start and Stop: filled by the comparison-set work.
void TForm1::Edit18Exit() {}
void TForm1::Edit19Exit() {}
// Mouse on the comparison plot: filled by the comparison-set work.
void TForm1::qgraphMouseDown(Qt::MouseButton, int, int) {}
void TForm1::qgraphMouseMove(Qt::MouseButton, int, int) {}
void TForm1::qgraphMouseUp(Qt::MouseButton, int, int) {}
void TForm1::qgraphAfterPaint(QPainter&) {}
