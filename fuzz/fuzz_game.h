// The game the fuzzers feed: one fake platform for the whole run, with the shipped defaults in its data folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fakes/fake_platform.h"
#include "scores/score_line.h"

namespace kesmir::fuzz {

// The fake game, made on the first call. Its data folder holds the shipped fighter definitions, default lists and
// options, copied from the seed corpus; its user folder starts empty.
testing::FakeGame& FuzzGame();

// Forgets what the fakes recorded for the previous input, so that a long run does not grow.
void ClearRecords(testing::FakeGame& fake);

// Puts one part of the game back to its initial state without a copy of it on the stack.
template <typename Part>
void ResetPart(Part& part) {
  auto fresh = std::make_unique<Part>();
  part = std::move(*fresh);
}

// Writes the input bytes, unchanged, to a file under the user or the data folder.
void WriteUserInput(testing::FakeGame& fake, const std::string& relative, const std::uint8_t* data, std::size_t size);
void WriteDataInput(testing::FakeGame& fake, const std::string& relative, const std::uint8_t* data, std::size_t size);

// Whether two score lines hold the same twelve columns.
bool SameFields(const ScoreLineFields& a, const ScoreLineFields& b);

// Stops the run with a message when a property of the reader does not hold; libFuzzer keeps the input.
void Require(bool holds, const char* what);

}  // namespace kesmir::fuzz
