// A whole program on fakes for one fuzz input: FakeHost, fake platform services and the
// program-wide state at zero, as the unit tests have it.
#pragma once
#include <cstdio>
#include <cstdlib>

#include "app/global_state.h"
#include "support/fake_host.h"
#include "support/fake_platform.h"
#include "ui/application.h"

namespace fuzz {

struct Program {
    Program() : application(host) {
        ui::setApp(&application);
        modGlobal::Reset();
    }
    ~Program() { modGlobal::Reset(); }
    fakes::FakeHost host;
    fakes::FakePlatform os;
    ui::Application application;
};

// An invariant that does not hold: the fuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

}  // namespace fuzz
