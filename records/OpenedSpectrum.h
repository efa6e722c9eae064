// What an opened spectrum file gives back: the results as the file wrote them, the values read
// from those texts, and its points in the curves.
#pragma once

#include "evaluation/EvaluationResults.h"
#include "evaluation/ResultsSnapshot.h"
#include "plot/curves/CurveStore.h"
#include "records/SpectrumFile.h"

#include <QString>

namespace ymt {

struct OpenedSpectrumResults {
    // Cap, TanD, Eps, FMin, FMax, KEff, KMode, Q3dB and B3dB with the file's texts; tand in the
    // unit the tab shows (not determined when the file had none).
    ShownResults Shown;
    bool HasQuality = false; // else Q3dB and B3dB stay as they were
    // CapNF, TanD, EpsRel, FMin, FMax, KEff, KMode and (with HasQuality) Q3dB, B3dB. f(min) and
    // f(max) are both 0 unless the file has both: one without the other is no resonance.
    EvaluationResults Values;
};

// tandPerMille: the tab shows tand in 1e-3 (the file holds it in 1e-4).
OpenedSpectrumResults ResultsOfSpectrumFile(const SpectrumFileContent& file, bool tandPerMille);

// The file's points, sorted by frequency (a hand-edited file may be out of order; equal
// frequencies keep their order), appended to curves 1 and 3 (|Z|) and 2 and 4 (phase).
void LoadSpectrumPoints(const SpectrumFileContent& file, CurveStore& store);

} // namespace ymt
