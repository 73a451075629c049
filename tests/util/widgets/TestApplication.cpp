// These tests run under the program's own application object (not the plain one of the shared GUI
// test entry), so that its handler for uncaught errors is the one being tested.
#include "util/widgets/VitrineApplication.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

class VitrineApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = std::make_unique<util::VitrineApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[19] = "util_widgets_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<util::VitrineApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new VitrineApplicationEnvironment);

} // namespace
