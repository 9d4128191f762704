#pragma once

#include "support/Fakes.h"
#include "support/TempDir.h"

#include "shell/Form1.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace hv::test {

// The real main window over recording fakes, on the offscreen platform, with
// a temporary program folder. Every test ends with no modal dialog open.
class FormFixture : public ::testing::Test {
protected:
    // Builds the window over `platform`, runs its start-up with the given
    // draw of the home-page lottery (1: no home page) and shows it.
    Form1& openForm(Platform& platform, int draw = 1) {
        form = std::make_unique<Form1>(platform, appFolder.path());
        form->setRandomDraw([draw] { return draw; });
        form->Form_Load();
        form->show();
        return *form;
    }
    Form1& openForm() { return openForm(fakes.platform); }

    void TearDown() override {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal dialog was left open";
        form.reset();
    }

    TestPlatform fakes;
    TempDir appFolder;
    std::unique_ptr<Form1> form;
};

} // namespace hv::test
