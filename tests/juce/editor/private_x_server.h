#pragma once
// An X server of the test program's own (Xvfb), set as its DISPLAY. The tests move the one
// pointer of the server with XTest and read pixels off its screen: on a display shared with
// tests that run alongside, another program's window could take the click or cover the picture.

#include <gtest/gtest.h>

#include <sys/types.h>

namespace probe::testing {

class PrivateXServer : public ::testing::Environment {
public:
    // Starts the server; without one the tests keep the DISPLAY they were given (or skip).
    void SetUp() override;
    void TearDown() override;

private:
    pid_t server = -1;
};

}  // namespace probe::testing
