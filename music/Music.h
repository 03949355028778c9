// Music: the table of loaded sounds and their playback (music pieces and effects).
//
// Thread rules: main thread only; the mixer plays on its own.
// Errors: no procedure throws. A sound handle is 1..n in the order of successful loads; 0 means
// "no sound" and every operation ignores it. Without a working audio device InitMusic gives FALSE,
// LoadSound gives 0 and the game runs silent.
#pragma once

#include <cstdint>

namespace Music {

// A loaded sound: 1..n in the order of successful loads, 0 for none.
typedef uint32_t SoundHandle;

// Opens the audio device at 32000 Hz with 64 channels; FALSE when there is none.
bool InitMusic();
// Frees every sound and closes the audio device; every handle is ignored afterwards.
void StopMusic();
// The folder that relative sound file names are read from ("" or null: the working folder).
void SetDataFolder(const char *folder);
// Loads and decodes a whole sound file (MP3, WAV, OGG); its handle, or 0.
SoundHandle LoadSound(const char *file);
// Starts the sound from its beginning (a playing one is stopped first); repeat loops it until stopped.
void PlaySound(SoundHandle sound, bool repeat);
// Stops the sound if it is marked playing.
void StopSound(SoundHandle sound);
// Sets the volume (0..255, clamped) of the sound's current playback; nothing if it is not playing.
void SetSoundVolume(SoundHandle sound, uint32_t volume);
// Sets the volume (0..255, clamped) that every later playback of the sound starts at; 255 at load.
void SetStartVolume(SoundHandle sound, uint32_t volume);
// TRUE while the sound is marked playing (started and not stopped).
bool SoundMarkedPlaying(SoundHandle sound);
// Marks a sound as music (TRUE) or as a sound effect (FALSE, every sound at load).
void SetMusicKind(SoundHandle sound, bool music);
// Music on or off, sound effects on or off; both on at start, kept through StopMusic. A kind turned off
// still plays, unheard, so that turning it on again lets the piece under way be heard from where it is.
void SetMusicOn(bool on);
void SetEffectsOn(bool on);
bool MusicOn();
bool EffectsOn();

}  // namespace Music
