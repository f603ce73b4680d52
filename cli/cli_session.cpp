#include "cli/cli_session.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "cli/console_run_channel.h"
#include "cli/console_run_view.h"
#include "cli/exit_status.h"
#include "cli/run_list.h"
#include "cli/terminal_questions.h"
#include "platform/clock.h"
#include "platform/absolute_path.h"
#include "platform/file.h"
#include "platform/path_queries.h"
#include "platform/string_table.h"
#include "processing/error_log.h"
#include "processing/whole_file.h"
#include "run/run_backups.h"
#include "run/result_texts.h"
#include "run/run_controller.h"
#include "run/standard_run_checks.h"
#include "text/regex/regex_program.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

constexpr auto kFlushInterval = std::chrono::milliseconds(100);

// Reads a text given as a UTF-8 file, every byte kept; false with `message` set on failure.
bool ReadTextFile(const std::u16string& path, std::u16string& text, std::u16string& message) {
  platform::File file;
  platform::ErrorCode error = 0;
  FileBytes bytes;
  // A pipe too, as a shell's process substitution gives.
  if (file.Open(path, platform::FileAccess::Read, platform::FileShare::Read, error,
                platform::FileKind::Any))
    error = ReadWholeFile(file, bytes);
  if (error != 0) {
    std::u16string reason;
    FormatSystemError(error, reason);
    message = FormatString(IDS_CLI_TEXT_FILE_UNREADABLE, {path, reason});
    return false;
  }
  const auto view = bytes.view();
  if (!Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(view.data()), view.size()),
                   text)) {
    message = FormatString(IDS_CLI_TEXT_FILE_NOT_UTF8, {path});
    return false;
  }
  return true;
}

// The command line's own checks, before those of the Run command; false with `message` set.
bool CheckCommandLine(CliOptions& options, const Console& console, std::u16string& message) {
  if (options.fields.confirmReplace && !console.InputIsTerminal()) {
    message = platform::LoadText(IDS_CLI_CONFIRM_NEEDS_TERMINAL);
    return false;
  }
  if (options.findFile && !ReadTextFile(*options.findFile, options.fields.findText, message))
    return false;
  if (options.replaceFile &&
      !ReadTextFile(*options.replaceFile, options.fields.replaceText, message))
    return false;
  if (options.settings.logDirectory && !platform::IsDirectory(*options.settings.logDirectory)) {
    message = platform::LoadText(IDS_LOG_PATH_MISSING);
    return false;
  }
  return true;
}

PreviewStyle PreviewStyleOf(const CliOptions& options, const Console& console) {
  PreviewStyle style;
  style.context = static_cast<size_t>(options.context);
  style.color = options.color == ColorChoice::Always ||
                (options.color == ColorChoice::Auto && !options.json && console.OutputShowsColor());
  if (!platform::MakeAbsolutePath(u".", style.base))
    style.base.clear();
  return style;
}

}  // namespace

int CliMain(const std::vector<std::string>& arguments, Console& console) {
  CliOptions options;
  std::string text;
  switch (ParseCliOptions(arguments, options, text)) {
    case CliParse::Exit:
      console.Write(ConsoleStream::Out, text);
      console.Flush();
      return kExitFinished;
    case CliParse::Refused: {
      std::u16string message;
      Utf8ToUtf16(text, message);
      WriteCliError(console, message);
      console.Flush();
      return kExitRefused;
    }
    case CliParse::Run:
      break;
  }
  if (!options.pathNote.empty())
    console.Write(ConsoleStream::Err, Utf16ToUtf8(options.pathNote) + "\n");
  return RunCliSession(std::move(options), console);
}

namespace {

int ListRuns(const ProgramSettings& settings, bool json, Console& console) {
  WriteRunList(ListRunFolders(BackupRootOf(settings)), json,
               [&console](std::string_view text) { console.Write(ConsoleStream::Out, text); });
  console.Flush();
  return kExitFinished;
}

// A run whose process died is pointed out before the next run, which goes ahead.
void NoteInterruptedRun(const ProgramSettings& settings, Console& console) {
  const std::vector<RunFolder> runs = ListRunFolders(BackupRootOf(settings));
  if (const RunFolder* run = LatestInterruptedRun(runs)) {
    const CalendarTime time = platform::LocalCalendarTime(run->journal.started);
    console.Write(ConsoleStream::Err,
                  Utf16ToUtf8(FormatString(IDS_CLI_RECOVER_NOTE,
                                           {DateText(time), run->journal.searchPaths})) +
                      "\n");
  }
}

}  // namespace

int RunCliSession(CliOptions options, Console& console) {
  std::u16string message;
  if (options.command == CliCommand::Run && !CheckCommandLine(options, console, message)) {
    WriteCliError(console, message);
    console.Flush();
    return kExitRefused;
  }

  ProgramSettings settings;
  ApplyCliSettings(options.settings, settings);
  if (options.command == CliCommand::Runs)
    return ListRuns(settings, options.json, console);
  ErrorLog log;
  log.InitErrorLog(settings);
  ConsoleRunView view(console, log, options.json, options.fields.renameMode, options.fields.action);
  view.PrintPositions(!options.count);
  if (options.fields.preview)
    view.SetPreviewStyle(PreviewStyleOf(options, console));
  TerminalPrompt prompt(console, options.yes);
  ConsoleRunChannel channel;
  std::vector<std::u16string> recentFolders;
  RunController controller(view, prompt, channel, settings, recentFolders);
  PreviewTap tap(controller, view);
  channel.SetHandler(&tap);
  RegexProgram program;
  controller.SetChecks(StandardRunChecks(program));
  // For timing the worker alone: VOXALON_READ_AHEAD=0.
  if (const char* readAhead = std::getenv("VOXALON_READ_AHEAD"))
    controller.worker().SetReadAhead(std::string_view(readAhead) != "0");

  // Under the lock: the worker may report before OnRun has marked the run as running, and a short
  // run may be over by the time the lock is let go.
  bool started = false;
  const auto running = [&controller] { return controller.runState() != RunState::Idle; };
  switch (options.command) {
    case CliCommand::Undo:
      channel.Locked([&] {
        controller.OnUndo();
        started = running();
      });
      break;
    case CliCommand::Recover: {
      bool offered = false;
      channel.Locked([&] {
        offered = controller.OfferRecovery();
        started = running();
      });
      if (!offered) {
        console.Write(ConsoleStream::Err,
                      Utf16ToUtf8(platform::LoadText(IDS_NO_INTERRUPTED_RUN)) + "\n");
        console.Flush();
        return kExitFinished;
      }
      break;
    }
    default:
      NoteInterruptedRun(settings, console);
      channel.Locked([&] {
        controller.OnRun(options.fields);
        started = running();
      });
      break;
  }
  if (!started) {
    console.Flush();
    if (console.Interrupted())
      return kExitInterrupted;
    return prompt.declined() ? kExitCancelled : kExitRefused;
  }

  // The worker reports through the view, which prints on a thread of its own; this thread passes
  // on Ctrl+C and keeps standard output flowing.
  bool stopRequested = false;
  const auto idle = [&controller] { return controller.runState() == RunState::Idle; };
  while (!channel.WaitFor(idle, kFlushInterval)) {
    if (console.Interrupted() && !stopRequested) {
      channel.Locked([&] { controller.OnStop(); });
      stopRequested = true;
    }
    // Outside the lock: a write that waits for the reader must not hold up the worker.
    console.Flush();
  }
  view.WriteEnd(controller.skipCounts());
  console.Flush();
  if (console.Interrupted())
    return kExitInterrupted;
  return view.errorCount() > 0 ? kExitWithErrors : kExitFinished;
}
