#pragma once

#include "support/Fakes.h"
#include "support/TempDir.h"
#include "shell/Form1.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace hv::test {

// The real main window over recording fakes, with a temporary program folder.
class ShellFixture : public ::testing::Test {
protected:
    void load(int draw = 1) {
        form = std::make_unique<Form1>(fakes.platform, appFolder.path());
        form->setRandomDraw([draw] { return draw; });
        form->Form_Load();
    }
    void TearDown() override {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal dialog was left open";
    }
    template <class T>
    T* control(const char* name) {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TestPlatform fakes;
    TempDir appFolder;
    std::unique_ptr<Form1> form;
};

} // namespace hv::test
