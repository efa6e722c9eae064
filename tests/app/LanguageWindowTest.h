// The window on a temporary home that holds the shipped English and German language files, for
// the tests that switch the program language; messages and texts are English again afterwards.
#pragma once

#include "app/RadioGroup.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace ymt::test {

inline const QString kShippedLanguages = QStringLiteral(YMT_SOURCE_DIR "/languages/");

class LanguageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"English.lng", "German.lng"})
            QFile::copy(kShippedLanguages + QLatin1String(name),
                        w.dirs.programDir + QLatin1String(name));
        w.window->FormActivate();
    }
    void TearDown() override {
        ResetMessages();
        ResetProgramTexts();
    }
    // 0 English, 1 German, as "Program Language" lists them.
    void selectLanguage(int index) {
        w.control<TRadioGroup>("RadioGroup4")->setItemIndex(index);
        w.window->RadioGroup4Click();
    }
    WindowOnTempHome w;
};

} // namespace ymt::test
