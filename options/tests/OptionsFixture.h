#pragma once
// A started program on the default settings file, with the options dialog at hand.

#include "program/tests/support/TestProgram.h"

#include <gtest/gtest.h>

namespace ambrel::testing {

class OptionsFixture : public ::testing::Test {
protected:
    void SetUp() override { app.startWithDefaults(); }

    OptionsForm& form() { return app.program.options(); }
    Settings& settings() { return app.settings(); }
    CountdownState& countdown() { return app.program.countdown(); }
    // Opens the dialog as the options button does.
    FakeOptionsView& open() {
        form().show();
        return app.optionsView();
    }
    bool dialogLoaded() { return app.program.optionsWindow().isLoaded(); }
    void closeDialog() { app.program.optionsWindow().unload(); }

    TestProgram app;
};

} // namespace ambrel::testing
