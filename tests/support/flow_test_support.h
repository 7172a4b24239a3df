#pragma once
// What the screens' tests stand on: a folder with the data files the screens
// read, and the shared services put together on the null platform.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/bbx_collection.h"
#include "flow/screen.h"
#include "runtime/display.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "support/temp_folder.h"
#include "world/gfx.h"

namespace gb::test_support {

// Sprite colours of the test models: the pointer (-1) is red.
inline constexpr bbx::TColor kPointerColor = bbx::RGB(255, 0, 0);
inline constexpr int kPointerSize = 10;

// A fresh folder per test with a model file holding the pointer and the
// credits; every file can be replaced or removed.
class TDataFolder : public TTempFolder {
public:
    TDataFolder() {
        bbx::Tbbx_collection models;
        bbx::Tbbx_model* pointer = models.Add();
        pointer->ID = -1;
        pointer->I1 = kPointerSize;
        pointer->I2 = kPointerSize;
        pointer->AddElement(bbx::MakeSphere(kPointerColor, 0, 0, 0, 500));
        models.SaveToFile(File("models.bbx"));
        Write("Credits.xml", "<credits>Pierwsza linia<br/>Druga linia</credits>");
    }
};

// The shared services as the main window makes them, for one screen alone.
class TScreenBench {
public:
    explicit TScreenBench(bbx::TPixelFormat format = bbx::TPixelFormat::Xrgb8888) : TScreenBench(format, nullptr) {}

    TSurface& Screen() {
        Display.Surface().Fill(0);
        return Display.Surface();
    }
    std::uint32_t Mapped(bbx::TColor color) const { return bbx::TPixelBuffer::MapColor(color, Gfx.GreyImage.Format()); }

    TDataFolder Data;
    TBoxTextRenderer Text{6, 12};
    TNullPresenter Presenter;
    TRecordingSoundLayer Sound;
    TDisplay Display;
    TGfx Gfx;
    TSfx Sfx;
    const std::string Directory = Data.Directory();
    std::int32_t MouseX = 400;
    std::int32_t MouseY = 300;
    const TScreenServices Services{Display, Gfx, Sfx, Directory, MouseX, MouseY};

protected:
    // `prepare` writes the test's own data files before anything reads them.
    TScreenBench(bbx::TPixelFormat format, const std::function<void(const TDataFolder&)>& prepare)
        : Display(Presenter, &Text), Gfx(format, Text), Sfx(Sound, Data.Directory()) {
        if (prepare) prepare(Data);
        Display.SetBitsPerPixel(format == bbx::TPixelFormat::Xrgb8888 ? 32 : 16);
        Display.Initialize();
        Sfx.LoadSounds();
        Gfx.Initialize(Directory);
    }
};

}  // namespace gb::test_support
