#pragma once

#include "support/FormFixture.h"

namespace hv::test {

// The main window with what its start-up showed still recorded.
class ShellFixture : public FormFixture {
protected:
    void load(int draw = 1) { openForm(fakes.platform, draw); }
    template <class T>
    T* control(const char* name) {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

} // namespace hv::test
