// The core's message boxes: a text, a caption and the buttons OK or OK and Cancel. The dialog
// shows them owned by the main window; tests answer them.
#pragma once

#include <string>

enum class PromptButtons { Ok, OkCancel };
enum class PromptAnswer { Ok, Cancel };

class Prompt {
 public:
  virtual ~Prompt() = default;
  // Shows the message modally and returns the button that ended it.
  virtual PromptAnswer Show(const std::u16string& text, const std::u16string& caption,
                            PromptButtons buttons) = 0;
};
