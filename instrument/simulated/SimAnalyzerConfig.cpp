#include "instrument/simulated/SimAnalyzerConfig.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace ymt::sim {
namespace {

constexpr int kMaxLateReplyMs = 3600 * 1000;

// A number of sicl.conf limited to lo..hi; NaN gives lo.
double bounded(double value, double lo, double hi) {
    return std::isnan(value) ? lo : std::clamp(value, lo, hi);
}

bool parseFault(const QString& text, Fault& fault) {
    const QStringList words =
        text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    static const QList<QPair<QString, FaultKind>> kinds = {
        {QStringLiteral("drop-reply"), FaultKind::DropReply},
        {QStringLiteral("late-reply"), FaultKind::LateReply},
        {QStringLiteral("garbage-reply"), FaultKind::GarbageReply},
        {QStringLiteral("empty-reply"), FaultKind::EmptyReply},
        {QStringLiteral("oversize-reply"), FaultKind::OversizeReply},
        {QStringLiteral("short-trace"), FaultKind::ShortTrace},
        {QStringLiteral("extra-values"), FaultKind::ExtraValues},
        {QStringLiteral("no-srq"), FaultKind::NoServiceRequest},
    };
    const QString name = words[0].toLower();
    for (const auto& [kindName, kind] : kinds) {
        if (name != kindName)
            continue;
        fault.kind = kind;
        const QString argument = words.size() > 1 ? words[1] : QString();
        if (kind == FaultKind::ShortTrace || kind == FaultKind::ExtraValues) {
            bool ok = false;
            const qlonglong count = argument.toLongLong(&ok);
            // Any count beyond a few thousand values tests the same; bounded, no sum overflows.
            fault.count = static_cast<int>(std::min<qlonglong>(count, kMaxFaultValues));
            return ok && count >= 0;
        }
        fault.query = argument.toUpper();
        return true;
    }
    return false;
}

bool parseBranch(const QString& text, MotionalBranch& branch) {
    const QStringList words =
        text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
    if (words.size() != 3)
        return false;
    branch = {ParseNumber(words[0]), ParseNumber(words[1]), ParseNumber(words[2])};
    return branch.seriesResonanceKHz > 0 && branch.capacitanceNF > 0 && branch.qualityFactor > 0;
}

} // namespace

const Fault* SimAnalyzerConfig::fault(FaultKind kind, const QByteArray& queryHeader) const {
    for (const Fault& candidate : faults)
        if (candidate.kind == kind &&
            (candidate.query.isEmpty() || candidate.query == QLatin1String(queryHeader)))
            return &candidate;
    return nullptr;
}

SimAnalyzerConfig parseSimAnalyzerConfig(const sicl::KeyValueList& lines, QStringList* problems) {
    SimAnalyzerConfig config;
    bool branchesGiven = false;
    auto complain = [problems](const QString& key, const QString& value) {
        if (problems)
            *problems << key + QStringLiteral(" = ") + value;
    };
    for (const auto& [key, value] : lines) {
        if (key == QLatin1String("sample")) {
            if (const auto path = RecordedSamplePath(value)) {
                config.recording = LoadRecordedSample(*path);
                if (!config.recording->error.isEmpty())
                    complain(key, value + QStringLiteral(" (") + config.recording->error +
                                      QStringLiteral(")"));
                continue;
            }
        }
        if (key == QLatin1String("device")) {
            const QString model = value.toUpper().remove(QLatin1Char(' '));
            if (model == QLatin1String("HP4194A"))
                config.model = AnalyzerModel::HP4194A;
            else if (model == QLatin1String("HP4294A"))
                config.model = AnalyzerModel::HP4294A;
            else if (model == QLatin1String("AUTO"))
                config.model = AnalyzerModel::Auto;
            else
                complain(key, value);
        } else if (key == QLatin1String("c0")) {
            config.sample.clampedCapacitanceNF = ParseNumber(value);
        } else if (key == QLatin1String("tand")) {
            config.sample.lossTangent = ParseNumber(value);
        } else if (key == QLatin1String("branch")) {
            MotionalBranch branch;
            if (!parseBranch(value, branch)) {
                complain(key, value);
                continue;
            }
            if (!branchesGiven)
                config.sample.branches.clear();
            branchesGiven = true;
            config.sample.branches.push_back(branch);
        } else if (key == QLatin1String("noise")) {
            config.noise = ParseNumber(value);
        } else if (key == QLatin1String("seed")) {
            config.seed = static_cast<unsigned>(bounded(ParseNumber(value), 0, 4294967295.0));
        } else if (key == QLatin1String("late_ms")) {
            config.lateReplyMs = static_cast<int>(bounded(ParseNumber(value), 0, kMaxLateReplyMs));
        } else if (key == QLatin1String("fault")) {
            Fault fault;
            if (parseFault(value, fault))
                config.faults.append(fault);
            else
                complain(key, value);
        } else {
            complain(key, value);
        }
    }
    if (config.sample.clampedCapacitanceNF <= 0) {
        complain(QStringLiteral("c0"), QString::number(config.sample.clampedCapacitanceNF));
        config.sample.clampedCapacitanceNF = DefaultSampleModel().clampedCapacitanceNF;
    }
    return config;
}

} // namespace ymt::sim
