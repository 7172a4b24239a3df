#pragma once
// The numbered sound effects, sfx/00.wav to sfx/10.wav, by what plays them.

namespace gb::sound {

constexpr int Blow = 0;         // a hand blow, a snowman's attack
constexpr int HandOver = 1;     // a present, a rod or a bauble given
constexpr int Sleigh = 2;       // the hero gets into or out of the sleigh
constexpr int Brake = 3;        // braking the sleigh at speed
constexpr int Crash = 4;        // the sleigh runs into something at speed
constexpr int Smoke = 5;        // a crash smoke cloud appears
constexpr int Bauble = 6;       // a bauble hung, its fuse lit
constexpr int Explosion = 7;    // a decorated Christmas tree explodes
constexpr int SelectItem = 8;   // the hero takes another item in hand
constexpr int ButtonHover = 9;  // the pointer enters a menu button
constexpr int RunOver = 10;     // the sleigh knocks a parent or child down

}  // namespace gb::sound
