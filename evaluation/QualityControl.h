// The quality-control check: each of five results is judged against the selected sample type's
// reference and tolerance. Only quantities with a reference take part in the verdict.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace ymt {

// The five checked quantities, in the order the check and the labels use.
enum QcQuantity : int { QcCap = 0, QcTanD = 1, QcKEff = 2, QcKMode = 3, QcFMin = 4 };
inline constexpr int kQcQuantityCount = 5;
// The limit fields: reference and tolerance of each quantity, in QcQuantity order.
inline constexpr int kQcLimitFields = 2 * kQcQuantityCount;

// A limit field's text when it is left: C with three decimals, tand and k(eff) with one, all
// three padded to nine characters; mode k with one and f(min) with three, unpadded.
QString QcLimitText(int field, double value);

struct QcLimit {
    double Reference = 0; // 0 = the quantity is not checked
    double Tolerance = 0;
};

enum class QcVerdict { NotChecked, OK, Defect };

struct QcOutcome {
    std::array<QcVerdict, kQcQuantityCount> Verdicts{};
    // Some checked quantity lies outside its band: the popup is due (when it is switched on
    // and no repeat measurement runs).
    bool Failed = false;
};

// typeSelected: a type other than "none" is chosen. values: the measured results, 0 for a
// result that was not determined. The band is open: reference - tolerance < value < reference
// + tolerance.
QcOutcome JudgeSample(bool typeSelected, const std::array<QcLimit, kQcQuantityCount>& limits,
                      const std::array<double, kQcQuantityCount>& values);

// The sample type the "+/-10 %" button makes of the results (0 for one not determined): each
// reference is the result, its tolerance a tenth of it. The texts of the record's eleven value
// lines in file order: C, tand and k(eff) pairs, the hull-curve file (none), f(min) and mode-k
// pairs; C and f(min) keep three decimals, their tolerances six, the rest one.
QStringList TenPercentQcRecord(const std::array<double, kQcQuantityCount>& values);

// The verdict's label text ("OK", the program language's word for defect, "---") and colour
// 0x00BBGGRR (dark green, dark red; 0 for "---", which the window shows in its own text colour).
QString VerdictText(QcVerdict verdict, const QString& defectWord);
unsigned VerdictColor(QcVerdict verdict);

} // namespace ymt
