// Small enumerations shared by the run, file processing and the main window.
#pragma once

#include <cstdint>

// What a run does to each match, in the order of the "Action type" list.
enum class ActionType : std::int32_t {
  Replace = 0,
  FindOnly = 1,
  Delete = 2,
  PlaceBefore = 3,
  PlaceAfter = 4,
  AddToBeginning = 5,
  AddToEnd = 6,
};

// Whether the action puts the replacement text into the text or name.
constexpr bool UsesReplacement(ActionType action) {
  return action != ActionType::FindOnly && action != ActionType::Delete;
}

// An answer of the confirmation request, and the run's standing answer.
enum class ConfirmAnswer : std::int32_t {
  Yes = 0,
  No = 1,
  YesToAll = 2,
  NoToAll = 3,
  Ask = 4,
};

// The window messages of the worker's channel to the main window (WM_USER + 2 and + 3).
inline constexpr std::uint32_t kRunResultMessage = 0x0400 + 2;
inline constexpr std::uint32_t kRunConfirmMessage = 0x0400 + 3;

// Run state of the main dialog.
enum class RunState : std::int32_t {
  Idle = 0,
  Running = 1,
  Stopping = 2,
};
