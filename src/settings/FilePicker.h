#pragma once
// The open-file dialogs of the configuration window's path fields.
#include "widgets/Win.h"

#include <optional>
#include <string>
#include <string_view>

namespace tv {

// Control ids of the picture preview inside the open-picture dialog.
inline constexpr int kPreviewPictureId = 1200;
inline constexpr int kPreviewSizeId = 1201;

// The standard open-file dialog owned by `owner`, starting in the process's
// current directory, accepting only a file that exists; `filter` in the
// "Description|*.ext" notation. With picturePreview the dialog shows the
// selected (or typed) JPEG beside the file list. Returns the full path, or
// nothing when the user cancels.
std::optional<std::wstring> pickFile(HWND owner, std::wstring_view filter, bool picturePreview);

}  // namespace tv
