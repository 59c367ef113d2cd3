#pragma once
// The ambient player mp3Player: one MP3 played through the Media Control
// Interface, looped by its notification handler, owned by the workspace window.
#include "sound/core/Fade.h"
#include "widgets/Win.h"

#include <mmsystem.h>

#include <string>

namespace tv {

// The volume command of the digital-video MCI devices, as the Windows
// multimedia headers publish it.
inline constexpr UINT MCI_SETAUDIO = 0x0873;
inline constexpr DWORD MCI_DGV_SETAUDIO_ITEM = 0x00800000;
inline constexpr DWORD MCI_DGV_SETAUDIO_VALUE = 0x01000000;
inline constexpr DWORD MCI_DGV_SETAUDIO_VOLUME = 0x4002;

// Six fields; the callback and the two texts are pointer-sized, as in the
// system's own declaration, so the record fits 32- and 64-bit builds.
struct MCI_DGV_SETAUDIO_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwItem;
    DWORD dwValue;
    DWORD dwOver;
    LPWSTR lpstrAlgorithm;
    LPWSTR lpstrQuality;
};

enum class MPNotifyValue { Successful, Superseded, Aborted, Failure };

class TMediaPlayer : public Window {
public:
    // The hidden window that receives MM_MCINOTIFY; a child of owner, so the
    // device is closed when the owner is destroyed.
    void createHidden(HWND owner);

    void Open();   // throws Failure with the MCI error text
    void Close();  // errors are kept in Error, never raised
    void Play();   // throws Failure only when nothing is open
    void setNotify(bool value);  // one-shot request for the next Open, Close or Play

    std::wstring FileName;
    MCIDEVICEID DeviceID = 0;
    bool AutoRewind = true;
    bool Shareable = false;
    DWORD Error = 0;
    MPNotifyValue NotifyValue = MPNotifyValue::Successful;
    void (*OnNotify)() = nullptr;

    bool isOpen() const { return open_; }
    DWORD length() const { return length_; }

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    DWORD takeNotifyFlag();
    DWORD status(DWORD item);
    bool open_ = false;
    bool notifyValue_ = false;
    bool notifyPending_ = false;
    DWORD length_ = 0;
    bool playedToEnd_ = false;  // the last play's notice was a successful end
    DWORD playStart_ = 0;       // where the last play began
    DWORD playStartedAt_ = 0;   // and when (GetTickCount)
};

extern TMediaPlayer mp3Player;

// The text of an MCI error code (4096-character buffer), or "Unknown error code".
std::wstring mciErrorText(DWORD code);
// Sends the level to MP's device; with no device open the command fails and
// nothing happens. Callers ignore the result.
DWORD MPSetVolume(TMediaPlayer& MP, int Volume);
// The player's notification handler: a successful end of play starts it again
// from the beginning, anything else ends the loop.
void mp3PlayerNotify();

namespace ambient {
void create(HWND owner);  // mp3Player's hidden window, under the workspace window
void close();   // Close the device
DWORD setVolume(int level);  // MPSetVolume(mp3Player, level)
}  // namespace ambient

}  // namespace tv
