#include "processing/confirmation_text.h"

#include "platform/string_table.h"
#include "text/text_format.h"

std::u16string ConfirmationText(const std::u16string& fullPath,
                                const CFileResult::replace_info& position) {
  return FormatString(IDS_CONFIRM_MESSAGE,
                      {std::u16string_view(fullPath), position.line + 1, position.character + 1});
}
