#include "corvane/tests/TemporaryHome.h"

// Set up before main, so no test can reach the real home folder.
const corvane::testing::TemporaryHome testHome("corvane-tests");
