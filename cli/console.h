// The terminal as the console front end sees it: two output streams in UTF-8, lines typed by the
// user, and Ctrl+C. The program has one per platform; tests script their own.
#pragma once

#include <string>
#include <string_view>

enum class ConsoleStream { Out, Err };

class Console {
 public:
  virtual ~Console() = default;

  // Queues text for a stream. Standard output may be held back until Flush; writing to standard
  // error first flushes standard output, so that the two keep their order on a terminal.
  virtual void Write(ConsoleStream stream, std::string_view utf8) = 0;
  virtual void Flush() = 0;

  // Whether standard input is a terminal a user can answer at.
  virtual bool InputIsTerminal() const = 0;
  // Whether standard output is a terminal that shows colour escape sequences.
  virtual bool OutputShowsColor() const { return false; }
  // Reads one line typed by the user, without its line break; false at the end of the input or
  // when Ctrl+C ended the wait.
  virtual bool ReadLine(std::string& line) = 0;
  // Whether Ctrl+C was pressed since the program started.
  virtual bool Interrupted() const = 0;
  // Called first on a thread the front end starts for its own work, so that Ctrl+C and its kin
  // reach the threads that wait for them.
  virtual void OnHelperThread() {}
};
