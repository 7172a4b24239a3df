#pragma once
// Stand-ins for the screens' tests: a presenter and a sound layer that
// record what they are asked, a folder with the data files
// the screens read, and the shared services put together on them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/bbx_collection.h"
#include "core/errors.h"
#include "flow/screen.h"
#include "runtime/display.h"
#include "runtime/sfx.h"
#include "runtime/sound_layer.h"
#include "support/media_test_support.h"
#include "world/gfx.h"

namespace gb::test_support {

class TFakePresenter : public TPresenter {
public:
    void Open(int, int, bbx::TPixelFormat format, bool windowed) override {
        if (FailOpen) throw EDisplayError("no screen here");
        ++Opened;
        OpenFormat = format;
        OpenWindowed = windowed;
        IsOpen = true;
    }
    void Close() override {
        if (IsOpen) ++Closed;
        IsOpen = false;
    }
    void Present(const bbx::TPixelBuffer&) override { ++Presented; }
    void SetWindowed(bool windowed) override { OpenWindowed = windowed; }
    bool IsLost() const override { return false; }

    bool FailOpen = false;
    bool IsOpen = false;
    int Opened = 0;
    int Closed = 0;
    int Presented = 0;
    bbx::TPixelFormat OpenFormat = bbx::TPixelFormat::Rgb565;
    bool OpenWindowed = false;
};

// Handles are 1-based positions in Paths; what is played is recorded by path.
class TFakeSoundLayer : public TSoundLayer {
public:
    bool Start(int, int) override {
        ++Starts;
        return true;
    }
    TSampleHandle LoadSample(const std::string& path) override { return Remember(path); }
    TChannelHandle PlaySample(TSampleHandle sample) override {
        if (FailPlay) throw bbx::Exception("the sound device went away");
        Played.push_back(PathOf(sample));
        return ++LastChannel;
    }
    void StopChannel(TChannelHandle channel) override { Stopped.push_back(channel); }
    void FreeSample(TSampleHandle sample) override { Freed.push_back(PathOf(sample)); }
    TStreamHandle OpenStream(const std::string& path) override { return Remember(path); }
    void PlayStream(TStreamHandle) override {}
    void StopStream(TStreamHandle) override {}
    void Beep(int, int) override {}
    void Close() override { ++Closes; }

    // How often the path (relative to the data folder's end) was played.
    int PlayCount(const std::string& ending) const {
        int count = 0;
        for (const auto& path : Played)
            if (path.ends_with(ending)) ++count;
        return count;
    }

    std::vector<std::string> Paths;
    std::vector<std::string> Played;
    std::vector<TChannelHandle> Stopped;
    std::vector<std::string> Freed;
    TChannelHandle LastChannel = 0;
    int Starts = 0;
    int Closes = 0;
    bool FailPlay = false;

private:
    std::uint32_t Remember(const std::string& path) {
        Paths.push_back(path);
        return static_cast<std::uint32_t>(Paths.size());
    }
    std::string PathOf(std::uint32_t handle) const {
        return handle >= 1 && handle <= Paths.size() ? Paths[handle - 1] : std::string();
    }
};

// Sprite colours of the test models: the pointer (-1) is red.
inline constexpr bbx::TColor kPointerColor = bbx::RGB(255, 0, 0);
inline constexpr int kPointerSize = 10;

// A fresh folder per test with a model file holding the pointer and the
// credits; every file can be replaced or removed.
class TDataFolder {
public:
    TDataFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        Path = std::filesystem::temp_directory_path() /
               ("gb_flow_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
        bbx::Tbbx_collection models;
        bbx::Tbbx_model* pointer = models.Add();
        pointer->ID = -1;
        pointer->I1 = kPointerSize;
        pointer->I2 = kPointerSize;
        pointer->AddElement(bbx::MakeSphere(kPointerColor, 0, 0, 0, 500));
        models.SaveToFile(File("models.bbx"));
        Write("Credits.xml", "<credits>Pierwsza linia<br/>Druga linia</credits>");
    }
    ~TDataFolder() { std::filesystem::remove_all(Path); }
    TDataFolder(const TDataFolder&) = delete;
    TDataFolder& operator=(const TDataFolder&) = delete;

    // With the trailing '/' the game expects.
    std::string Directory() const { return Path.string() + "/"; }
    std::string File(const std::string& name) const { return (Path / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(File(name), std::ios::binary) << text;
    }
    void Remove(const std::string& name) const { std::filesystem::remove(File(name)); }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path Path;
};

// The shared services as the main window makes them, for one screen alone.
class TScreenBench {
public:
    explicit TScreenBench(bbx::TPixelFormat format = bbx::TPixelFormat::Xrgb8888)
        : Display(Presenter, &Text), Gfx(format, Text), Sfx(Sound, Data.Directory()) {
        Display.SetBitsPerPixel(format == bbx::TPixelFormat::Xrgb8888 ? 32 : 16);
        Display.Initialize();
        Sfx.LoadSounds();
        Gfx.Initialize(Data.Directory());
    }

    TSurface& Screen() {
        Display.Surface().Fill(0);
        return Display.Surface();
    }
    std::uint32_t Mapped(bbx::TColor color) const { return bbx::TPixelBuffer::MapColor(color, Gfx.GreyImage.Format()); }

    TDataFolder Data;
    TBoxTextRenderer Text{6, 12};
    TFakePresenter Presenter;
    TFakeSoundLayer Sound;
    TDisplay Display;
    TGfx Gfx;
    TSfx Sfx;
    const std::string Directory = Data.Directory();
    std::int32_t MouseX = 400;
    std::int32_t MouseY = 300;
    const TScreenServices Services{Display, Gfx, Sfx, Directory, MouseX, MouseY};
};

}  // namespace gb::test_support
