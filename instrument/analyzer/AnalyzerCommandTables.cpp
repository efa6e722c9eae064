#include "instrument/analyzer/AnalyzerCommandTables.h"

namespace ymt {

const AnalyzerCommandTable& Hp4194CommandTable() {
    static const AnalyzerCommandTable table{
        {QStringLiteral("RQS2")},
        QStringLiteral("START"),
        QStringLiteral("STOP"),
        {{QStringLiteral("asc1")}, {QStringLiteral("asc2")}},
        {{QStringLiteral("bsc1")}, {QStringLiteral("bsc2")}},
        {QStringLiteral("swm2"), QStringLiteral("swm1")},
        {{QStringLiteral("sht0;opn0")}, {QStringLiteral("sht1;opn1")}},
        QStringLiteral("cmpn1;zopen"),
        QStringLiteral("zshrt"),
        QStringLiteral("imp1;swm2;swtrg"),
        QStringLiteral("swm1;auto"),
        {QStringLiteral("imp1"),  QStringLiteral("imp2"),  QStringLiteral("imp3"),
         QStringLiteral("imp4"),  QStringLiteral("imp5"),  QStringLiteral("imp6"),
         QStringLiteral("imp7"),  QStringLiteral("imp8"),  QStringLiteral("imp9"),
         QStringLiteral("imp10"), QStringLiteral("imp11"), QStringLiteral("imp12"),
         QStringLiteral("imp13"), QStringLiteral("imp14"), QStringLiteral("imp15"),
         QStringLiteral("imp16"), QStringLiteral("imp17"), QStringLiteral("imp18"),
         QStringLiteral("imp19"), QStringLiteral("imp20"), QStringLiteral("imp1")},
        0.1,
        40000.0,
    };
    return table;
}

const AnalyzerCommandTable& Hp4294CommandTable() {
    static const AnalyzerCommandTable table{
        {QStringLiteral("PRES")},
        QStringLiteral("STAR"),
        QStringLiteral("STOP"),
        {{QStringLiteral("TRAC A"), QStringLiteral("FMT LINY")},
         {QStringLiteral("TRAC A"), QStringLiteral("FMT LOGY")}},
        {{QStringLiteral("TRAC B"), QStringLiteral("FMT LINY")},
         {QStringLiteral("TRAC B"), QStringLiteral("FMT LOGY")}},
        {QStringLiteral("SING"), QStringLiteral("CONT")},
        {{QStringLiteral("COMSTA OFF"), QStringLiteral("COMSTB OFF")},
         {QStringLiteral("COMSTA ON"), QStringLiteral("COMSTB ON")}},
        QStringLiteral("COMA"),
        QStringLiteral("COMB"),
        QStringLiteral("MEAS IMPH;SING"),
        QStringLiteral("CONT;TRAC A;AUTO;TRAC B;AUTO"),
        {QStringLiteral("MEAS IMPH"), QStringLiteral("MEAS IRIM"), QStringLiteral("MEAS LSR"),
         QStringLiteral("MEAS LSQ"),  QStringLiteral("MEAS CSR"),  QStringLiteral("MEAS CSQ"),
         QStringLiteral("MEAS CSD"),  QStringLiteral("MEAS AMPH"), QStringLiteral("MEAS ARIM"),
         QStringLiteral("MEAS LPG"),  QStringLiteral("MEAS LPQ"),  QStringLiteral("MEAS CPG"),
         QStringLiteral("MEAS CPQ"),  QStringLiteral("MEAS CPD"),  QStringLiteral("MEAS IMLS"),
         QStringLiteral("MEAS IMCS"), QStringLiteral("MEAS IMLP"), QStringLiteral("MEAS IMCP"),
         QStringLiteral("MEAS LPR"),  QStringLiteral("MEAS CPR"),  QStringLiteral("MEAS IMPH")},
        0.04,
        110000.0,
    };
    return table;
}

} // namespace ymt
