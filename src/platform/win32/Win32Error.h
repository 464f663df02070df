#pragma once

// The Windows error codes the backends tell apart; every other code is a plain failure.
namespace Win32 {

constexpr long ErrorSuccess = 0;
constexpr long ErrorFileNotFound = 2; // the key or value is missing
constexpr long ErrorInvalidHandle = 6;
constexpr long ErrorMoreData = 234;

} // namespace Win32
