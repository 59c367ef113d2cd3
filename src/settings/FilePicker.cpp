#include "settings/FilePicker.h"

#include "widgets/Errors.h"
#include "settings/core/ConfigWindow.h"
#include "widgets/core/JpegImage.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <vector>

namespace tv {

namespace {

constexpr DWORD kMaxPath = 32768;
constexpr std::uint64_t kLargestPreview = 64ull << 20;  // bigger files are not decoded for a mere preview

struct Preview {
    std::wstring shownPath;
    std::optional<Image> image;
    HWND hook = nullptr;
};

// A dialog template in memory: the standard controls' place (stc32) and,
// to its right, the picture and a line for its size.
class PreviewTemplate {
public:
    PreviewTemplate() {
        header(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, 3, 0, 0, 112, 124);
        // The standard controls take stc32's place; controls right of it move
        // right as it grows, controls below it would move down: as tall as
        // the preview, it keeps the preview level with the file list.
        item(WS_CHILD, stc32, 0, 0, 1, 124, L"");
        item(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, kPreviewPictureId, 6, 14, 100, 90, L"");
        item(WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kPreviewSizeId, 6, 108, 100, 10, L"");
        memory_ = static_cast<WORD*>(GlobalAlloc(GMEM_FIXED, words_.size() * sizeof(WORD)));
        if (memory_) std::memcpy(memory_, words_.data(), words_.size() * sizeof(WORD));
    }
    ~PreviewTemplate() {
        if (memory_) GlobalFree(memory_);
    }
    PreviewTemplate(const PreviewTemplate&) = delete;
    PreviewTemplate& operator=(const PreviewTemplate&) = delete;
    // A fixed global block: its handle is its address.
    HINSTANCE handle() const { return reinterpret_cast<HINSTANCE>(memory_); }

private:
    void dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void text(const wchar_t* s) {
        for (; *s; ++s) words_.push_back(static_cast<WORD>(*s));
        words_.push_back(0);
    }
    void align() {
        if (words_.size() % 2) words_.push_back(0);
    }
    void header(DWORD style, WORD count, short x, short y, short cx, short cy) {
        dword(style);
        dword(0);
        words_.push_back(count);
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard class
        words_.push_back(0);  // no title
    }
    void item(DWORD style, int id, short x, short y, short cx, short cy, const wchar_t* caption) {
        align();
        dword(style);
        dword(0);
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(static_cast<WORD>(id));
        words_.push_back(0xFFFF);
        words_.push_back(0x0082);  // STATIC
        text(caption);
        words_.push_back(0);  // no creation data
    }
    std::vector<WORD> words_;
    WORD* memory_ = nullptr;
};

std::wstring dialogText(HWND dialog, UINT msg) {
    std::vector<wchar_t> buf(kMaxPath, L'\0');
    LRESULT n = SendMessageW(dialog, msg, kMaxPath, reinterpret_cast<LPARAM>(buf.data()));
    if (n <= 0) return {};
    return std::wstring(buf.data());
}

// The file the dialog's name box names: a full path typed there as it is,
// anything else in the folder being shown.
std::wstring dialogPath(HWND dialog) {
    std::wstring spec = dialogText(dialog, CDM_GETSPEC);
    if (spec.size() >= 2 && spec.front() == L'"' && spec.back() == L'"') spec = spec.substr(1, spec.size() - 2);
    if (spec.empty()) return dialogText(dialog, CDM_GETFILEPATH);
    const bool absolute = (spec.size() >= 3 && spec[1] == L':' && (spec[2] == L'\\' || spec[2] == L'/')) ||
                          (spec.size() >= 2 && spec[0] == L'\\' && spec[1] == L'\\');
    if (absolute) return spec;
    std::wstring folder = dialogText(dialog, CDM_GETFOLDERPATH);
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    return folder + spec;
}

void showPreview(Preview& p, const std::wstring& path) {
    if (path == p.shownPath) return;
    p.shownPath = path;
    p.image.reset();
    std::wstring size = L"(None)";
    WIN32_FILE_ATTRIBUTE_DATA fa{};
    if (!path.empty() && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa) &&
        !(fa.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::uint64_t bytes = (static_cast<std::uint64_t>(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
        if (bytes <= kLargestPreview) {
            try {
                const std::string data = readWholeFile(path);
                p.image = decodeJpeg(reinterpret_cast<const unsigned char*>(data.data()), data.size());
            } catch (const Failure&) {
                // An unreadable file simply has no preview.
            } catch (const std::bad_alloc&) {
            }
        }
        if (p.image && !p.image->empty())
            size = L"(" + std::to_wstring(p.image->width) + L" x " + std::to_wstring(p.image->height) + L")";
        else
            p.image.reset();
    }
    SetDlgItemTextW(p.hook, kPreviewSizeId, size.c_str());
    InvalidateRect(GetDlgItem(p.hook, kPreviewPictureId), nullptr, TRUE);
}

void drawPreview(const Preview& p, const DRAWITEMSTRUCT& d) {
    const RECT& r = d.rcItem;
    FillRect(d.hDC, &r, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(d.hDC, const_cast<RECT*>(&r), EDGE_SUNKEN, BF_RECT);
    if (!p.image) return;
    const Image& img = *p.image;
    RECT area = r;
    InflateRect(&area, -3, -3);
    const int aw = area.right - area.left, ah = area.bottom - area.top;
    if (aw <= 0 || ah <= 0) return;
    // Smaller pictures are shown as they are; larger ones shrink with their proportions.
    int w = img.width, h = img.height;
    if (w > aw || h > ah) {
        if (static_cast<long long>(w) * ah > static_cast<long long>(h) * aw) {
            h = static_cast<int>(static_cast<long long>(h) * aw / w);
            w = aw;
        } else {
            w = static_cast<int>(static_cast<long long>(w) * ah / h);
            h = ah;
        }
        if (w < 1) w = 1;
        if (h < 1) h = 1;
    }
    const int x = area.left + (aw - w) / 2, y = area.top + (ah - h) / 2;
    drawImage(d.hDC, RECT{x, y, x + w, y + h}, img);
}

// The file name typed into the dialog is previewed too, not only a selection.
LRESULT CALLBACK dialogSubclass(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wp), code = HIWORD(wp);
        if ((id == cmb13 && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) || (id == edt1 && code == EN_CHANGE)) {
            LRESULT r = DefSubclassProc(h, msg, wp, lp);
            auto* p = reinterpret_cast<Preview*>(data);
            guarded([&] { showPreview(*p, dialogPath(h)); });
            return r;
        }
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, dialogSubclass, 1);
    return DefSubclassProc(h, msg, wp, lp);
}

UINT_PTR CALLBACK previewHook(HWND hook, UINT msg, WPARAM, LPARAM lp) {
    auto* p = reinterpret_cast<Preview*>(GetWindowLongPtrW(hook, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        p = reinterpret_cast<Preview*>(reinterpret_cast<OPENFILENAMEW*>(lp)->lCustData);
        p->hook = hook;
        SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<LONG_PTR>(p));
        HWND dialog = GetParent(hook);
        if (HFONT f = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)))
            SendDlgItemMessageW(hook, kPreviewSizeId, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
        SetDlgItemTextW(hook, kPreviewSizeId, L"(None)");
        SetWindowSubclass(dialog, dialogSubclass, 1, reinterpret_cast<DWORD_PTR>(p));
        return TRUE;
    }
    case WM_NOTIFY: {
        if (!p) return 0;
        const auto* n = reinterpret_cast<const OFNOTIFYW*>(lp);
        if (n->hdr.code == CDN_SELCHANGE) guarded([&] { showPreview(*p, dialogPath(GetParent(hook))); });
        return 0;
    }
    case WM_DRAWITEM: {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (p && d->CtlID == kPreviewPictureId) {
            drawPreview(*p, *d);
            return TRUE;
        }
        return 0;
    }
    }
    return 0;
}

}  // namespace

std::optional<std::wstring> pickFile(HWND owner, std::wstring_view filter, bool picturePreview) {
    const std::wstring filters = dialogFilter(filter);
    std::vector<wchar_t> file(kMaxPath, L'\0');
    std::vector<wchar_t> dir(kMaxPath, L'\0');
    const DWORD n = GetCurrentDirectoryW(kMaxPath, dir.data());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kMaxPath;
    ofn.lpstrInitialDir = n > 0 && n < kMaxPath ? dir.data() : nullptr;
    // The current folder stays: a relative name elsewhere in the program
    // (a document, a setting) must keep meaning the same file.
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    Preview preview;
    std::optional<PreviewTemplate> tmpl;
    if (picturePreview) tmpl.emplace();
    if (tmpl && tmpl->handle()) {
        ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        ofn.hInstance = tmpl->handle();
        ofn.lpfnHook = previewHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(&preview);
    }
    const CurrentFolderKept folder;
    if (!GetOpenFileNameW(&ofn)) {
        const DWORD err = CommDlgExtendedError();
        if (err != 0) throw Failure(L"The file dialog cannot be shown (error " + std::to_wstring(err) + L").");
        return std::nullopt;
    }
    return std::wstring(file.data());
}

}  // namespace tv
