#include "text/variables.h"

#include "platform/string_table.h"
#include "run/record/file_result.h"
#include "text/text_format.h"

namespace {

void LowerCaseAscii(std::u16string& name) {
  for (char16_t& unit : name) {
    if (unit >= u'A' && unit <= u'Z')
      unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
}

// The value of a lower-cased name; false when it names no variable.
bool VariableValue(const std::u16string& name, const CFileResult* file, std::u16string& value) {
  if (name == u"filename")
    value = file ? file->name : std::u16string();
  else if (name == u"filedirectory")
    value = file ? file->folder : std::u16string();
  else if (name == u"filepath")
    value = file ? FullPathOf(*file) : std::u16string();
  else
    return false;
  return true;
}

}  // namespace

bool ExpandVariables(std::u16string& text, const CFileResult* file) {
  std::u16string output;
  output.reserve(text.size());
  std::u16string name;
  bool inName = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (inName) {
      if (unit != u'%') {
        name += unit;
        continue;
      }
      LowerCaseAscii(name);
      std::u16string value;
      if (!VariableValue(name, file, value)) {
        text = FormatString(IDS_VARIABLE_UNKNOWN, {name});
        return false;
      }
      output += value;
      inName = false;
      continue;
    }
    if (unit != u'%') {
      output += unit;
    } else if (i + 1 == text.size()) {
      text = platform::LoadText(IDS_VARIABLE_UNEXPECTED_PERCENT);
      return false;
    } else if (text[i + 1] == u'%') {
      output += u'%';
      ++i;
    } else {
      // The unit after the opening sign is the name's first, whatever it is.
      inName = true;
      name.assign(1, text[++i]);
    }
  }
  text = std::move(output);
  return true;
}
