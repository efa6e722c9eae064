// Shared set-up of the instrument tests: virtual clock, a fresh simulated bus with the given
// sicl.conf text, and the io-trace lines of everything sent.
#pragma once

#include "core/Clock.h"
#include "instrument/analyzer/HP4x94A.h"
#include "instrument/sicl/IoTrace.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimAnalyzer.h"
#include "instrument/simulated/SimBus.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

namespace ymt::testing {

class InstrumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock::setVirtual(true);
        useConfig(QString());
        sicl::setIoTraceSink([this](const QByteArray& line) { trace << line; });
    }

    void TearDown() override {
        sicl::setIoTraceSink({});
        sicl::closeAllSessions();
        sicl::clearConfigText();
        sim::resetBus();
    }

    // Fresh instruments configured by this sicl.conf text.
    void useConfig(const QString& text) {
        sicl::closeAllSessions();
        sim::resetBus();
        sicl::setConfigText(text);
    }

    // A simulated analyzer of the model (0 = HP 4194A, 1 = HP 4294A) at gpib0,17, with extra
    // device lines (faults, sample), connected and preset like the program does it.
    void connect(int model, const QString& extraLines = QString()) {
        useConfig(QStringLiteral("[gpib0,17]\ndevice = %1\n%2")
                      .arg(model == 0 ? QStringLiteral("HP4194A") : QStringLiteral("HP4294A"),
                           extraLines));
        analyzer.AnalyzerSession = &session;
        analyzer.AnalyzerModel = model;
        session.Open(17, analyzer.AnalyzerHandle);
        ASSERT_GT(analyzer.AnalyzerHandle, 0);
        trace.clear();
    }

    sim::SimAnalyzer& simulated() {
        auto* device = dynamic_cast<sim::SimAnalyzer*>(sim::deviceAt(QStringLiteral("gpib0,17")));
        EXPECT_NE(device, nullptr);
        return *device;
    }

    // The trace lines of one kind ("iwrite", "iread" ...).
    QByteArrayList lines(const QByteArray& function) const {
        QByteArrayList selected;
        for (const QByteArray& line : trace)
            if (line.startsWith(function + ' '))
                selected << line;
        return selected;
    }

    // The messages written, as C-escaped text without quotes and terminator.
    QByteArrayList written() const {
        QByteArrayList messages;
        for (const QByteArray& line : lines("iwrite")) {
            const qsizetype open = line.indexOf('"');
            const qsizetype close = line.lastIndexOf('"');
            QByteArray message = line.mid(open + 1, close - open - 1);
            if (message.endsWith("\\r\\n"))
                message.chop(4);
            messages << message;
        }
        return messages;
    }

    TSicl session{QStringLiteral("gpib0"), 2000};
    HP4x94A analyzer;
    QByteArrayList trace;
};

} // namespace ymt::testing
