#pragma once

// The test pictures moved to tests/support/TestPictures.h; this name stays for tests written
// against the old one.
#include "../support/TestPictures.h"

namespace TestImages = TestPictures;
