#include "win32_chime.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace brindle {

namespace {

// The multimedia entries the chime uses, looked up once in the system's sound library, which is
// loaded from the system directory only, so a DLL of the same name in the program's folder or the
// current directory can never be loaded in its place.
struct SoundLibrary {
    decltype(&mmioOpenW) open = nullptr;
    decltype(&mmioDescend) descend = nullptr;
    decltype(&mmioAscend) ascend = nullptr;
    decltype(&mmioRead) read = nullptr;
    decltype(&mmioClose) close = nullptr;
    decltype(&waveOutOpen) openDevice = nullptr;
    decltype(&waveOutPrepareHeader) prepare = nullptr;
    decltype(&waveOutWrite) write = nullptr;
    decltype(&waveOutUnprepareHeader) unprepare = nullptr;
    decltype(&waveOutReset) reset = nullptr;
    decltype(&waveOutClose) closeDevice = nullptr;

    bool Complete() const {
        return open && descend && ascend && read && close && openDevice && prepare && write &&
               unprepare && reset && closeDevice;
    }
};

template <class Function>
void Find(HMODULE module, Function& slot, const char* entry) {
    // The detour through the generic function type keeps the cast well defined.
    slot = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, entry)));
}

const SoundLibrary* Library() {
    static const SoundLibrary library = [] {
        SoundLibrary found;
        HMODULE module = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) {
            return found;
        }
        Find(module, found.open, "mmioOpenW");
        Find(module, found.descend, "mmioDescend");
        Find(module, found.ascend, "mmioAscend");
        Find(module, found.read, "mmioRead");
        Find(module, found.close, "mmioClose");
        Find(module, found.openDevice, "waveOutOpen");
        Find(module, found.prepare, "waveOutPrepareHeader");
        Find(module, found.write, "waveOutWrite");
        Find(module, found.unprepare, "waveOutUnprepareHeader");
        Find(module, found.reset, "waveOutReset");
        Find(module, found.closeDevice, "waveOutClose");
        return found;
    }();
    return library.Complete() ? &library : nullptr;
}

// A WAV file's format and all of its samples.
struct Wave {
    std::vector<char> format;
    std::vector<char> samples;
};

// The file's size in bytes, or none for a sound longer than a chime could reasonably be (six
// minutes of CD sound), which is not read into memory.
std::uint64_t FileSize(const std::wstring& path) {
    constexpr std::uint64_t kLongest = 64ull * 1024 * 1024;
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) {
        return 0;
    }
    const std::uint64_t size =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return size <= kLongest ? size : 0;
}

// Reads the format and data chunks with the system's own RIFF reader.
std::optional<Wave> ReadWave(const SoundLibrary& mm, const std::wstring& path) {
    std::wstring name = path;
    HMMIO file = mm.open(name.data(), nullptr, MMIO_READ | MMIO_DENYWRITE);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::optional<Wave> wave;
    Wave found;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mm.descend(file, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
        mm.descend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR &&
        chunk.cksize >= sizeof(PCMWAVEFORMAT) && chunk.cksize < 0x10000) {
        // A plain PCM format chunk lacks the size field of the extended one: it stays zero.
        found.format.assign(std::max<std::size_t>(chunk.cksize, sizeof(WAVEFORMATEX)), '\0');
        const LONG size = static_cast<LONG>(chunk.cksize);
        if (mm.read(file, found.format.data(), size) == size &&
            mm.ascend(file, &chunk, 0) == MMSYSERR_NOERROR) {
            chunk = MMCKINFO{};
            chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
            if (mm.descend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
                // A data chunk cut short by the file's end plays what there is; its stated size
                // is not trusted further than the file reaches.
                found.samples.resize(std::min<std::uint64_t>(chunk.cksize, FileSize(path)));
                const LONG read =
                    mm.read(file, found.samples.data(), static_cast<LONG>(found.samples.size()));
                WAVEFORMATEX format{};
                std::memcpy(&format, found.format.data(), sizeof(format));
                const std::size_t block = std::max<std::size_t>(1, format.nBlockAlign);
                found.samples.resize(read > 0 ? static_cast<std::size_t>(read) / block * block : 0);
                if (!found.samples.empty()) {
                    wave = std::move(found);
                }
            }
        }
    }
    mm.close(file, 0);
    return wave;
}

// Plays the wave whole on the calling thread. `device` is set while the sound plays, under the
// lock, so that another thread can end it early.
bool PlayWave(const SoundLibrary& mm, Wave& wave, std::mutex& lock, void*& device) {
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (done == nullptr) {
        return false;
    }
    HWAVEOUT out = nullptr;
    bool played = false;
    if (mm.openDevice(&out, WAVE_MAPPER, reinterpret_cast<WAVEFORMATEX*>(wave.format.data()),
                      reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) == MMSYSERR_NOERROR) {
        WAVEHDR header{};
        header.lpData = wave.samples.data();
        header.dwBufferLength = static_cast<DWORD>(wave.samples.size());
        if (mm.prepare(out, &header, sizeof(header)) == MMSYSERR_NOERROR) {
            {
                std::lock_guard<std::mutex> hold(lock);
                device = out;
            }
            if (mm.write(out, &header, sizeof(header)) == MMSYSERR_NOERROR) {
                // The device sets the flag from a thread of its own and signals the event after.
                while ((static_cast<volatile DWORD&>(header.dwFlags) & WHDR_DONE) == 0) {
                    WaitForSingleObject(done, INFINITE);
                }
                played = true;
            }
            {
                std::lock_guard<std::mutex> hold(lock);
                device = nullptr;
            }
            mm.reset(out);
            mm.unprepare(out, &header, sizeof(header));
        }
        mm.closeDevice(out);
    }
    CloseHandle(done);
    return played;
}

}  // namespace

Win32Chime::~Win32Chime() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> hold(mutex_);
        ending_ = true;
        pending_.reset();
        if (device_ != nullptr) {
            Library()->reset(static_cast<HWAVEOUT>(device_));
        }
    }
    wake_.notify_one();
    thread_.join();
}

void Win32Chime::PlayAsync(std::wstring path) {
    std::lock_guard<std::mutex> hold(mutex_);
    // A sound still playing ends: the newer one is the one asked for, as with the system's player.
    if (device_ != nullptr) {
        Library()->reset(static_cast<HWAVEOUT>(device_));
    }
    pending_ = std::move(path);
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_one();
}

bool Win32Chime::PlayHere(const std::wstring& path) {
    const SoundLibrary* mm = Library();
    if (mm == nullptr) {
        return false;
    }
    std::optional<Wave> wave = ReadWave(*mm, path);
    std::mutex unused;
    void* device = nullptr;
    return wave && PlayWave(*mm, *wave, unused, device);
}

void Win32Chime::Run() {
    // The thread does little but must not be kept waiting when the device asks for more.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    for (;;) {
        std::wstring path;
        {
            std::unique_lock<std::mutex> hold(mutex_);
            wake_.wait(hold, [this] { return ending_ || pending_.has_value(); });
            if (ending_) {
                return;
            }
            path = std::move(*pending_);
            pending_.reset();
        }
        const SoundLibrary* mm = Library();
        if (mm == nullptr) {
            continue;
        }
        if (std::optional<Wave> wave = ReadWave(*mm, path)) {
            PlayWave(*mm, *wave, mutex_, device_);
        }
    }
}

}  // namespace brindle
