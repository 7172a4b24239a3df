// The window container: hit-testing, hover, capture, drawing and freeing
// order, seen through windows that write down every call they get.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/game_errors.h"
#include "runtime/ui_window.h"

namespace gb {

// The toolkit only passes the game's surface on; this test program links
// nothing that defines it, so a stand-in will do.
class TSurface {};

namespace {

class TRecordingWindow : public TUIWindow {
public:
    TRecordingWindow(std::string name, std::string& log, TBounds bounds) : Name(std::move(name)), Log(log) {
        Bounds = bounds;
    }
    ~TRecordingWindow() override { Note("free"); }

    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override {
        Note("down" + std::to_string(static_cast<int>(button)) + "/" + std::to_string(shift) + At(x, y));
    }
    void MouseMove(std::int32_t x, std::int32_t y) override { Note("move" + At(x, y)); }
    void MouseUp(TMouseButton button, TShiftState, std::int32_t x, std::int32_t y) override {
        Note("up" + std::to_string(static_cast<int>(button)) + At(x, y));
    }
    void MouseEnter(std::int32_t x, std::int32_t y) override { Note("enter" + At(x, y)); }
    void MouseLeave(std::int32_t x, std::int32_t y) override { Note("leave" + At(x, y)); }
    void Draw(TSurface&) override { Note("draw"); }

private:
    static std::string At(std::int32_t x, std::int32_t y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }
    void Note(const std::string& what) { Log += (Log.empty() ? "" : " ") + Name + "." + what; }

    std::string Name;
    std::string& Log;
};

class UITest : public ::testing::Test {
protected:
    // Two overlapping windows: A from (10,10) to (50,50), B over it from
    // (40,40) to (80,80).
    UITest() {
        A = &Add("A", {10, 10, 50, 50});
        B = &Add("B", {40, 40, 80, 80});
    }
    TUIWindow& Add(const std::string& name, TUIWindow::TBounds bounds) {
        return UI->Add(std::make_unique<TRecordingWindow>(name, Log, bounds));
    }
    std::string Take() { return std::exchange(Log, std::string()); }

    std::string Log;
    std::unique_ptr<TUI> UI = std::make_unique<TUI>();
    TUIWindow* A = nullptr;
    TUIWindow* B = nullptr;
};

TEST_F(UITest, AddSetsTheOwnerAndKeepsTheOrder) {
    EXPECT_EQ(UI->Count(), 2);
    EXPECT_EQ(&UI->Item(0), A);
    EXPECT_EQ(&UI->Item(1), B);
    EXPECT_EQ(A->Owner, UI.get());
    EXPECT_TRUE(A->Visible);
    EXPECT_THROW(UI->Item(2), EListError);
}

TEST_F(UITest, AllFourEdgesAreInside) {
    EXPECT_EQ(UI->WindowAt(10, 10), A);
    EXPECT_EQ(UI->WindowAt(10, 30), A);
    EXPECT_EQ(UI->WindowAt(30, 39), A);
    EXPECT_EQ(UI->WindowAt(80, 80), B);
    EXPECT_EQ(UI->WindowAt(81, 80), nullptr);
    EXPECT_EQ(UI->WindowAt(9, 10), nullptr);
    EXPECT_EQ(UI->WindowAt(60, 30), nullptr);
}

TEST_F(UITest, PressGoesToTheTopmostVisibleWindow) {
    UI->MouseDown(TMouseButton::Left, ssShift, 45, 45);
    EXPECT_EQ(Take(), "B.down0/1(45,45)");
    EXPECT_EQ(UI->Captured(), B);
    UI->MouseUp(TMouseButton::Left, 0, 45, 45);
    B->Visible = false;
    UI->MouseDown(TMouseButton::Right, 0, 45, 45);
    EXPECT_EQ(Take(), "B.up0(45,45) A.down1/0(45,45)");
    EXPECT_EQ(UI->Captured(), A);
}

TEST_F(UITest, PressOutsideEveryWindowChangesNothing) {
    UI->MouseDown(TMouseButton::Left, 0, 45, 45);
    UI->MouseDown(TMouseButton::Left, 0, 200, 200);
    EXPECT_EQ(Take(), "B.down0/0(45,45)");
    EXPECT_EQ(UI->Captured(), B);
}

TEST_F(UITest, MovingAcrossWindowsLeavesThenEnters) {
    UI->MouseMove(20, 20);
    EXPECT_EQ(Take(), "A.enter(20,20) A.move(20,20)");
    UI->MouseMove(25, 20);
    EXPECT_EQ(Take(), "A.move(25,20)");
    UI->MouseMove(45, 45);
    EXPECT_EQ(Take(), "A.leave(45,45) B.enter(45,45) B.move(45,45)");
    EXPECT_EQ(UI->Hover(), B);
}

TEST_F(UITest, MovingOffAllWindowsLeavesOnce) {
    UI->MouseMove(20, 20);
    Take();
    UI->MouseMove(200, 200);
    UI->MouseMove(210, 200);
    EXPECT_EQ(Take(), "A.leave(200,200)");
    EXPECT_EQ(UI->Hover(), nullptr);
}

TEST_F(UITest, CapturedWindowGetsEveryMoveAndOthersOnlyEnterAndLeave) {
    UI->MouseMove(20, 20);
    UI->MouseDown(TMouseButton::Left, 0, 20, 20);
    Take();
    UI->MouseMove(60, 60);
    EXPECT_EQ(Take(), "A.move(60,60) A.leave(60,60) B.enter(60,60)");
    UI->MouseMove(300, 10);
    EXPECT_EQ(Take(), "A.move(300,10) B.leave(300,10)");
}

TEST_F(UITest, ReleaseGoesToTheCapturedWindowWhereverThePointerIs) {
    UI->MouseDown(TMouseButton::Left, 0, 20, 20);
    Take();
    UI->MouseUp(TMouseButton::Left, 0, 70, 70);
    EXPECT_EQ(Take(), "A.up0(70,70)");
    EXPECT_EQ(UI->Captured(), nullptr);
    UI->MouseMove(70, 70);
    EXPECT_EQ(Take(), "B.enter(70,70) B.move(70,70)");
}

TEST_F(UITest, ReleaseWithoutPressGoesToTheWindowUnderThePointer) {
    UI->MouseDown(TMouseButton::Left, 0, 200, 200);
    UI->MouseUp(TMouseButton::Middle, 0, 70, 70);
    UI->MouseUp(TMouseButton::Middle, 0, 200, 200);
    EXPECT_EQ(Take(), "B.up2(70,70)");
}

TEST_F(UITest, DrawsVisibleWindowsInOrderAndFreesLastFirst) {
    Add("C", {0, 0, 5, 5});
    A->Visible = false;
    TSurface surface;
    UI->Draw(surface);
    EXPECT_EQ(Take(), "B.draw C.draw");
    UI.reset();
    EXPECT_EQ(Take(), "C.free B.free A.free");
}

}  // namespace
}  // namespace gb
