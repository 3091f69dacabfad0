// The panel on the right of the board (x 300..400): score, level number,
// lives, the level bar, and the menu, relax, scene, question and hammer
// buttons. This file holds where each thing is (the hit areas a click or the
// question cursor is tested against) and the panel's drawing.
//
// Layout in centred screen units, y up; the art that fills it is described
// in docs/game-art.md. The scene buttons are 30 wide but stand 25 apart, so
// a point between two of them belongs to the nearer one.
//
// Depends on: the game state (score, lives, bar, hammer), the screen's view
// record, the gameplay textures, text drawing.
#pragma once

#include "base/math.h"
#include "game/game_state.h"

namespace tessaly::game {

struct PlayView;
struct PlayTextures;

enum class PanelArea : int {
    None,
    Score,
    LevelNumber,
    Lives,
    LevelBar,
    MenuButton,
    QuestionButton,
    RelaxButton,
    SceneNight,
    SceneMorning,
    SceneDay,
    HammerButton,
};

// Rectangles of the panel (left, top, right, bottom; y up).
constexpr base::Rect kScoreArea{300, 260, 390, 230};
constexpr base::Rect kLevelNumberArea{300, 170, 390, 140};
constexpr base::Rect kLivesArea{300, 70, 390, 40};
constexpr base::Rect kLevelBarArea{304, 28, 396, 5};
constexpr base::Rect kMenuButtonArea{300, -15, 390, -45};
constexpr base::Rect kRelaxButtonArea{310, -83, 385, -113};
constexpr base::Rect kHammerButtonArea{320, -162, 384, -290};
constexpr base::Vec2 kQuestionButtonCentre{345, -64};
constexpr float kQuestionButtonSize = 30;
constexpr base::Vec2 kSceneButtonCentres[3] = {{320, -135}, {345, -135}, {370, -135}};
constexpr float kSceneButtonSize = 30;
constexpr int kSceneCount = 3;  // night, morning, day

bool inRect(const base::Rect& r, base::Vec2 p);
// The panel area under a point; None off the panel's areas.
PanelArea panelAreaAt(base::Vec2 p);
// Scene 0..2 of a scene button, -1 for any other area.
int sceneOfArea(PanelArea area);

// The level bar's fill for a shown fraction d (clamped to 0..1): its
// rectangle and the texture's u range, revealed from the left inside the
// frame's trough (texels 7..121 of 128).
struct LevelBarFill {
    base::Rect rect;
    float uLeft = 0, uRight = 0;
};
LevelBarFill levelBarFill(float shown);
// The point at the fill's leading edge, where the bar's sparks fly.
base::Vec2 levelBarEdge(float shown);

// What the lives box shows: hearts (up to 3), one heart and a count,
// "lastlife" on the last life, nothing once the last one is lost or the
// sequence that takes it runs.
enum class LivesBox : int { Empty, LastLife, Hearts, HeartAndCount };
LivesBox livesBoxOf(const GameState& game);

// The hammer is ready to arm: enabled and the charge exactly full.
bool hammerReady(const GameState& game);
// The charging hammer's gauge at the left of its button: the trough and the part of
// it filled for `charge` (0..1), from the bottom.
struct HammerGauge {
    base::Rect trough, fill;
};
HammerGauge hammerGauge(float charge);
constexpr float kHammerReadyPulseMs = 900.0f;  // the swell and ring when the hammer becomes ready

// The whole panel: the picture, labels and numbers, hearts, level bar,
// buttons and the hammer. Text colour is left opaque white.
void drawPanel(const PlayView& view, const GameState& game, const PlayTextures& textures);

}  // namespace tessaly::game
