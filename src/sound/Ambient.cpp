#include "sound/Ambient.h"

#include "sound/SoundLog.h"

#include <algorithm>
#include <string>

namespace tv {

TMediaPlayer mp3Player;

namespace {

std::string narrow(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

void logCommand(const char* name, MCIDEVICEID id, DWORD flags, DWORD r, const std::string& extra) {
    if (!soundlog::enabled()) return;
    soundlog::line(std::string(name) + " dev=" + std::to_string(id) + " flags=" + soundlog::hex(flags) + extra +
                   " result=" + std::to_string(r) + (r ? " error=\"" + narrow(mciErrorText(r)) + "\"" : ""));
}

// Every command goes through here, so the test log sees each one.
DWORD send(const char* name, MCIDEVICEID id, UINT msg, DWORD flags, void* parms, const std::string& extra = {}) {
    DWORD r = mciSendCommandW(id, msg, flags, reinterpret_cast<DWORD_PTR>(parms));
    logCommand(name, id, flags, r, extra);
    return r;
}

}  // namespace

std::wstring mciErrorText(DWORD code) {
    std::wstring buf(4096, L'\0');
    if (!mciGetErrorStringW(code, buf.data(), static_cast<UINT>(buf.size())) || buf[0] == L'\0')
        return L"Unknown error code";
    buf.resize(buf.find(L'\0'));
    return buf;
}

void TMediaPlayer::createHidden(HWND owner) {
    registerClass(L"TvMediaPlayer");
    create(L"TvMediaPlayer", L"", 0, owner ? WS_CHILD : 0, 0, 0, 0, 0, owner ? owner : HWND_MESSAGE);
}

void TMediaPlayer::setNotify(bool value) {
    notifyValue_ = value;
    notifyPending_ = true;
}

DWORD TMediaPlayer::takeNotifyFlag() {
    DWORD f = notifyPending_ && notifyValue_ ? MCI_NOTIFY : 0;
    notifyPending_ = false;
    return f;
}

DWORD TMediaPlayer::status(DWORD item) {
    MCI_STATUS_PARMS p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(hwnd);
    p.dwItem = item;
    const DWORD flags = MCI_WAIT | MCI_STATUS_ITEM;
    Error = mciSendCommandW(DeviceID, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&p));
    logCommand("MCI_STATUS", DeviceID, flags, Error,
               std::string(item == MCI_STATUS_LENGTH ? " item=length" : " item=position") +
                   " value=" + std::to_string(p.dwReturn));
    return Error ? 0 : static_cast<DWORD>(p.dwReturn);
}

void TMediaPlayer::Open() {
    if (open_) Close();
    MCI_OPEN_PARMSW p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(hwnd);
    p.lpstrDeviceType = L"";  // no type named: MCI picks the device from the file
    p.lpstrElementName = FileName.c_str();
    DWORD flags = MCI_WAIT | MCI_OPEN_ELEMENT | (Shareable ? MCI_OPEN_SHAREABLE : 0) | takeNotifyFlag();
    Error = send("MCI_OPEN", 0, MCI_OPEN, flags, &p);
    if (Error) throw Failure(mciErrorText(Error));
    DeviceID = p.wDeviceID;
    open_ = true;
    playedToEnd_ = false;
    length_ = status(MCI_STATUS_LENGTH);
}

void TMediaPlayer::Close() {
    if (DeviceID == 0) return;
    MCI_GENERIC_PARMS p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(hwnd);
    Error = send("MCI_CLOSE", DeviceID, MCI_CLOSE, MCI_WAIT | takeNotifyFlag(), &p);
    if (Error == 0) {
        open_ = false;
        DeviceID = 0;
    }
}

void TMediaPlayer::Play() {
    if (!open_) throw Failure(L"No MCI device open");
    // At or past the end, go back first: this is what turns the end-of-play
    // notification into a loop. Past the end counts too, or a device whose
    // last position overshoots its length would replay nothing, endlessly.
    // A file shorter than its header claims ends successfully before its
    // length: that end is the end too, or the next play would start where
    // nothing is left and end at once, endlessly.
    const bool ended = playedToEnd_;
    playedToEnd_ = false;
    DWORD position = AutoRewind ? status(MCI_STATUS_POSITION) : 0;
    // Wine's MP3 driver reports position 0 once a play has ended, wherever it
    // ended: a play that lasted a while did play, though the position did not move.
    const DWORD lasted = GetTickCount() - playStartedAt_;
    if (ended && position == playStart_ && lasted < std::min<DWORD>(100, length_ / 2)) {
        // The last play moved nothing: there is nothing to play at all.
        Error = MCIERR_FILE_READ;
        return;
    }
    if (AutoRewind && (position >= length_ || ended)) {
        MCI_SEEK_PARMS s{};
        s.dwCallback = reinterpret_cast<DWORD_PTR>(hwnd);
        send("MCI_SEEK", DeviceID, MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, &s);
        position = 0;
    }
    playStart_ = position;
    playStartedAt_ = GetTickCount();
    MCI_PLAY_PARMS p{};
    p.dwCallback = reinterpret_cast<DWORD_PTR>(hwnd);
    Error = send("MCI_PLAY", DeviceID, MCI_PLAY, takeNotifyFlag(), &p);
}

LRESULT TMediaPlayer::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case MM_MCINOTIFY: {
        const MCIDEVICEID from = static_cast<MCIDEVICEID>(lp);
        if (soundlog::enabled())
            soundlog::line("MM_MCINOTIFY dev=" + std::to_string(from) + " value=" + soundlog::hex(wp, 1));
        // A notice from a device closed since (the switch turned the sound
        // off, or the file was started anew) concerns no play of ours. Wine's
        // MCI driver for MP3 names no device in its notices (device 0): such a
        // notice is the open device's, or the loop would end after one play.
        if (!open_ || (from != DeviceID && from != 0)) return 0;
        switch (wp) {
        case MCI_NOTIFY_SUCCESSFUL: NotifyValue = MPNotifyValue::Successful; playedToEnd_ = true; break;
        case MCI_NOTIFY_SUPERSEDED: NotifyValue = MPNotifyValue::Superseded; break;
        case MCI_NOTIFY_ABORTED: NotifyValue = MPNotifyValue::Aborted; break;
        case MCI_NOTIFY_FAILURE: NotifyValue = MPNotifyValue::Failure; break;
        default: break;
        }
        if (OnNotify) OnNotify();
        return 0;
    }
    case WM_DESTROY:
        if (DeviceID) {
            MCI_GENERIC_PARMS p{};
            send("MCI_CLOSE", DeviceID, MCI_CLOSE, MCI_WAIT, &p);
            DeviceID = 0;
            open_ = false;
        }
        return 0;
    }
    return base(msg, wp, lp);
}

DWORD MPSetVolume(TMediaPlayer& MP, int Volume) {
    MCI_DGV_SETAUDIO_PARMS p{};
    p.dwCallback = 0;
    p.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    p.dwValue = static_cast<DWORD>(Volume);
    p.dwOver = 0;
    p.lpstrAlgorithm = nullptr;
    p.lpstrQuality = nullptr;
    return send("MCI_SETAUDIO", MP.DeviceID, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE, &p,
                " item=" + soundlog::hex(p.dwItem, 4) + " value=" + std::to_string(Volume));
}

void mp3PlayerNotify() {
    if (mp3Player.NotifyValue != MPNotifyValue::Successful) return;
    mp3Player.setNotify(true);
    mp3Player.Play();
}

namespace ambient {

void create(HWND owner) {
    mp3Player.OnNotify = mp3PlayerNotify;
    mp3Player.createHidden(owner);
}

void close() { mp3Player.Close(); }

DWORD setVolume(int level) { return MPSetVolume(mp3Player, level); }

}  // namespace ambient

}  // namespace tv
