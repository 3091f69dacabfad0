// Sections: level start | the frame step (board clocks, level bar, Action
// drain, board cleared, end sequences, idle hint, ambient sounds, play time)
// | input in play.
#include "game/flow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/random.h"
#include "data/registry.h"
#include "game/hammer.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/removal.h"
#include "game/saved_game.h"
#include "game/spawn.h"
#include "sound/sound.h"

namespace tessaly::game {

namespace {

constexpr int kLevelTunes = 4;            // tunes 0..3 play in levels
constexpr int kCompleteTune = 4;
constexpr int kDefeatTune = 5;
constexpr base::Vec2 kBoardFullTextPoint{-50.0f, 20.0f};  // over the middle of the board
constexpr float kSquareClockPeriod = 502.65f;
constexpr base::Vec2 kHammerButtonCentre{352.0f, -226.0f};
constexpr base::Vec2 kRelaxButtonCentre{347.0f, -98.0f};

bool endSequenceRunning(const GameState& game) {
    return game.completeTimer > 0 || game.defeatTimer > 0;
}

// Every level-state field back to its start value; what outlives a level
// (host, mode, settings and the cheat keys, the birdsong counter, the freshly loaded board and
// parameters) is kept.
void resetLevelState(GameState& game, int levelIndex) {
    auto fresh = std::make_unique<GameState>();
    fresh->board = game.board;
    fresh->level = game.level;
    fresh->host = game.host;
    fresh->mode = game.mode;
    fresh->demo = game.demo;
    fresh->ballSpeed = game.ballSpeed;
    fresh->cheatKeys = game.cheatKeys;
    fresh->birdCounter = game.birdCounter;
    fresh->excellentToggle = game.excellentToggle;
    fresh->animationClockMs = game.animationClockMs;
    fresh->levelIndex = levelIndex;
    game = *fresh;
}

void forEachWindowCell(auto&& visit) {
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) visit(x, y);
}

void flattenSquares(Board& board) {
    forEachWindowCell([&](int x, int y) {
        Cell& c = board.at(x, y);
        if (c.floor > 0) c.floor = 0;
    });
}

void showLevelTips(GameState& game) {
    const int index = game.levelIndex;
    if (game.level.hammerEnabled) showTipOnce(game, Tip::HammerTip, kHammerButtonCentre, 2000.0f, kNoCell);
    if (index == 5) showTipOnce(game, Tip::DoubleRelax, kRelaxButtonCentre, 2000.0f, kNoCell);
    if (index == 4) showTipOnce(game, Tip::HelpRelax, kRelaxButtonCentre, 2000.0f, kNoCell);
    if (index == 2)
        showTipOnce(game, game.mode == Mode::Action ? Tip::ActionBarTip : Tip::LevelProgresBar,
                    kLevelBarPoint, 2000.0f, kNoCell);
    forEachWindowCell([&](int x, int y) {
        const Cell& c = game.board.at(x, y);
        const base::Vec2 at = cellCentre(x, y);
        if (c.floor == 2) showTipOnce(game, Tip::TipBusySquare2, at, 2000.0f, {x, y});
        if (c.hasPiece() && c.piece.chained > 0) showTipOnce(game, Tip::ChainItemTip, at, 2000.0f, {x, y});
        if (index == 1 && c.pending != kNoPiece) showTipOnce(game, Tip::NewBallTip, at, 2000.0f, {x, y});
    });
}

}  // namespace

// ---------------------------------------------------------------------------
// Level start

int actionLevelDownTimeMs(int levelIndex) {
    if (levelIndex <= 5) return 2000;
    if (levelIndex <= 40) return 450 + (40 - levelIndex) * 1550 / 35;
    return 450;
}

int idleHintDelayMs(int levelIndex) {
    if (levelIndex <= 1) return 6000;
    if (levelIndex <= 4) return 9000;
    if (levelIndex <= 9) return 13000;
    if (levelIndex <= 29) return 20000;
    return 25000;
}

bool startLevel(GameState& game, int levelIndex) {
    if (!loadLevel(game, levelIndex)) return false;
    resetLevelState(game, levelIndex);
    sound::requestTune(levelIndex % kLevelTunes);
    game.host->setScene(levelIndex % 3);

    Board& board = game.board;
    LevelParams& level = game.level;

    // The level bar's target.
    int layers = 0;
    forEachWindowCell([&](int x, int y) { layers += std::max(0, board.at(x, y).floor); });
    if (game.mode == Mode::Classic && level.balls4Destroy > 0) {
        game.barTotal = level.balls4Destroy;
    } else {
        game.barTotal = float(layers);
        if (game.mode != Mode::Puzzle) game.barTotal = std::max(40.0f, game.barTotal * 3.0f);
    }

    if (game.mode != Mode::Puzzle) flattenSquares(board);

    if (game.mode == Mode::Action && level.levelDownTimeMs == 0) {
        level.levelDownTimeMs = actionLevelDownTimeMs(levelIndex);
        level.colors = std::min(kMaxColors, level.colors + 2);
    }

    board.freeCells = countFreeCells(board);
    game.cellCount = countCells(board);
    for (auto& column : board.cells)
        for (auto& cell : column) {
            cell.scale = 0;
            cell.squareClockMs = 0;
        }
    board.minLine = kMinLine;

    // Balls per turn: derived from the board unless a Classic level gives its
    // own; Action always derives it, larger, and sizes its bar by the board.
    const int cells = game.cellCount;
    if (level.addBalls == 0 || game.mode == Mode::Puzzle) {
        level.addBalls = cells / 4;
        if (levelIndex <= 1) level.addBalls /= 2;
    }
    if (game.mode == Mode::Action) {
        const int tenths = levelIndex <= 1 ? 3 : levelIndex <= 3 ? 6 : levelIndex == 4 ? 7 : 8;
        level.addBalls = cells * tenths / 10;
        game.barTotal = float(cells) * std::sqrt(float(levelIndex + 1));
    }
    game.barRemaining = game.barTotal;

    if (levelIndex >= 2) fillAtLevelStart(game);
    announceBalls(game, level.addBalls);

    showLevelTips(game);
    if (game.host->takeShowHelpFlag()) game.host->openScreen("helpscreen");
    game.livesShown = game.host->lives();
    return true;
}

// ---------------------------------------------------------------------------
// The frame step

namespace {

// Clocks, scale, pending previews and appearance of every cell (x outer, y
// inner). The pass runs when the last appearing piece met in the walk has
// just finished appearing.
void stepCells(GameState& game, float dtMs) {
    Board& board = game.board;
    const int squaresLeft = countSquares(board);
    const float squarePeriod = float(squaresLeft + 10) * kSquareClockPeriod;
    bool lastFinished = false;
    CellRef shaken;
    forEachWindowCell([&](int x, int y) {
        Cell& cell = board.at(x, y);
        if (!cell.isCell()) return;
        cell.floorClockMs += dtMs;
        cell.squareClockMs += dtMs;
        if (squaresLeft > 5 && cell.squareClockMs > squarePeriod) cell.squareClockMs = 0;
        if (cell.scale < 1.0f) cell.scale = std::min(1.0f, cell.scale + 0.0016f * dtMs);
        if (cell.pendingTimerMs > 0) cell.pendingTimerMs = std::max(0.0f, cell.pendingTimerMs - dtMs);
        Piece& p = cell.piece;
        if (p.kind == kNoPiece) return;
        p.clockMs += dtMs;
        if (p.appear > 0) {
            p.appear -= (p.kind < kBomb ? 0.75f : 0.6f) * dtMs;
            lastFinished = p.appear <= 0;
            if (lastFinished) {
                p.appear = 0;
                cell.pending = kNoPiece;
            }
        }
        if (p.shakeMs > 0) {
            p.shakeMs -= dtMs;
            const float amplitude = (800.0f - p.shakeMs) / 350.0f;
            p.offset = {base::randomSigned(amplitude), base::randomSigned(amplitude)};
            if (p.shakeMs <= 0) shaken = {x, y};
        }
    });
    if (shaken.valid()) {
        removePiece(game, shaken.x, shaken.y);
        specialArrival(game);
    }
    if (lastFinished) removalPass(game, false);
}

void stepLevelBar(GameState& game, float dtMs) {
    const float f = barFraction(game);
    if (game.barRemaining <= 0)
        game.barShown = f;
    else
        game.barShown += (f - game.barShown) * std::min(1.0f, dtMs * 0.005f);
    if (f - game.barShown > 0.0001f) {
        game.barSparkleClockMs += dtMs;
        while (game.barSparkleClockMs >= 50.0f) {
            game.barSparkleClockMs -= 50.0f;
            game.host->levelBarSparkle();
        }
    } else {
        game.barSparkleClockMs = 0;
    }
}

void stepActionDrain(GameState& game, float dtMs) {
    if (game.mode != Mode::Action || !game.running || endSequenceRunning(game)) return;
    if (game.host->overlayOpen() || game.host->tipOpen() || game.moveInFlight) return;
    // A full bar stays full: the level-complete check at the top of the next
    // frame judges the value the progress sparks left.
    if (game.barRemaining <= 0 || game.barRemaining >= game.barTotal || game.level.levelDownTimeMs <= 0) return;
    game.drainClockMs += dtMs;
    const float every = float(game.level.levelDownTimeMs);
    if (game.drainClockMs < every) return;
    game.barRemaining = std::min(game.barTotal, game.barRemaining + 1.0f);
    sound::playSoundAtRate("score.ogg", int(15000.0f + 40000.0f * barFraction(game)));
    game.drainClockMs -= every;
}

// An idle board with no piece left: the announced balls come at once; a
// board cleared by play earns 25000 points, and with nothing announced the
// level is won. The bar then shows full in this same step (the bar's own
// step ran earlier in the frame), so the level-complete check at the top of
// the next frame takes the level before this rule could judge the still
// empty board a second time.
void checkBoardCleared(GameState& game) {
    if (game.moveInFlight || game.completeTimer != 0 || game.defeatTimer != 0) return;
    if (countPieces(game.board) > 0) return;
    arriveBalls(game);
    if (game.playTimeMs <= 1000) return;
    addScore(game, kAwardScorePoint, 25000);
    game.host->floatingText("incredible", TextSource::Key, kAwardTextPoint, 27.0f, 2000.0f);
    sound::playSound("excellent.ogg");
    if (countPieces(game.board) == 0) {
        completeLevelNow(game);
        game.barShown = barFraction(game);
    }
}

void checkLevelComplete(GameState& game) {
    if (game.completeTimer != 0 || game.defeatTimer != 0 || game.barRemaining > 0) return;
    if (std::fabs(barFraction(game) - game.barShown) > 0.0001f) return;
    LevelResult result;
    result.levelIndex = game.levelIndex;
    result.score = game.levelScore;
    result.maxCombo = game.maxCombo;
    result.playTimeMs = game.playTimeMs;
    result.moves = game.movesMade;
    const LevelAdvance advance = game.host->recordLevelComplete(result);
    game.stageCompleted = advance.stageCompleted;
    game.gamePassed = advance.gamePassed;
    sound::playSound("levelcomplete.ogg");
    sound::requestTune(kCompleteTune);
    game.host->showMessage(game.stageCompleted ? "stagecomplete" : "levelcomplete");
    game.completeTimer = kCompleteSequenceMs;
    game.completeBoardCleared = false;
    game.completeMusicSwitched = false;
    game.host->advanceScene((game.levelIndex + 1) % 3);
    game.hint.timeLeftMs = 0;
    game.cursorMode = CursorMode::Normal;
}

void startDefeat(GameState& game) {
    sound::playSound("level_defeat.ogg");
    sound::requestTune(kDefeatTune);
    const int lives = game.host->lives();
    game.host->showMessage(lives == 1 ? "lastlife" : lives == 0 ? "gameover" : "loselife");
    game.defeatTimer = kDefeatSequenceMs;
    game.hint.timeLeftMs = 0;
    game.cursorMode = CursorMode::Normal;
}

void checkDefeat(GameState& game) {
    if (game.defeatTimer != 0 || game.completeTimer != 0 || game.board.freeCells > 0) return;
    startDefeat(game);
    // Said in so many words: the balls that filled the board may still make a
    // line as they finish appearing and leave cells free, and the lost level
    // must not look like a miscount.
    game.host->floatingText("boardfull", TextSource::Key, kBoardFullTextPoint, 22.0f, 3000.0f);
}

// The end sequences run down; thresholds are passed by flags so that a
// sequence shortened by a click still does everything on its way out.
void stepSequences(GameState& game, float dtMs) {
    if (game.completeTimer > 0) {
        game.completeTimer -= dtMs;
        if (game.completeTimer <= 7500.0f && !game.completeBoardCleared) {
            game.completeBoardCleared = true;
            sweepAllPieces(game);
        }
        if (game.completeTimer <= 3500.0f && !game.completeMusicSwitched) {
            game.completeMusicSwitched = true;
            sound::requestTune(game.levelIndex % kLevelTunes);  // the level's own tune resumes
        }
        if (game.completeTimer <= 0) {
            game.completeTimer = -1;
            game.host->openScreen("levelcomplete");
        }
    }
    if (game.defeatTimer > 0) {
        game.defeatTimer -= dtMs;
        if (game.defeatTimer <= 0) {
            game.defeatTimer = -1;
            game.lastLevelLost = true;
            game.host->takeLife();
            game.host->dropSavedGame();
            game.host->saveProfiles();
            sound::playSound("defeat.ogg");
            game.host->openScreen(game.host->lives() < 0 ? "hiscore" : "defeat");
        }
    }
}

void stepIdleHint(GameState& game, float dtMs) {
    if (game.hint.timeLeftMs > 0) game.hint.timeLeftMs = std::max(0.0f, game.hint.timeLeftMs - dtMs);
    if (!game.running || game.selected.valid() || game.moveInFlight || endSequenceRunning(game)) return;
    if (game.host->tipOpen()) return;
    game.idleMs += dtMs;
    const float delay = float(idleHintDelayMs(game.levelIndex));
    if (game.idleMs < delay) return;
    showHint(game);
    game.idleMs = -delay;
}

bool periodDue(int clock, int frameMs, int period) {
    if (clock == 0) return true;
    return clock % period >= period / 2 && (clock + frameMs) % period < period / 2;
}

void stepAmbient(GameState& game, float dtMs) {
    const int clock = int(game.gameClockMs);
    const int frameMs = int(dtMs);
    if (periodDue(clock, frameMs, 6200)) {
        char name[16];
        std::snprintf(name, sizeof name, "birds%i.ogg", game.birdCounter % 3 + 1);
        sound::playSound(name);
        game.birdCounter += base::randomBelow(2) + 1;
    }
    const char* water = "waterfall.ogg";
    int period = 3000;
    if (!game.gamePassed) {
        switch (game.host->currentStage()) {
            case 0:
            case 8:
            case 10:
                water = "brook.ogg";
                period = 3100;
                break;
            case 3:
            case 4:
            case 12:
            case 13: water = nullptr; break;
            default: break;
        }
    }
    if (water && periodDue(clock, frameMs, period)) sound::playSound(water);
    game.gameClockMs = float(clock + frameMs);
}

void stepPlayTime(GameState& game, float dtMs) {
    if (!game.running || endSequenceRunning(game) || game.cursorMode == CursorMode::Question) return;
    if (game.host->overlayOpen()) return;
    game.playTimeMs = std::min(kMaxPlayTimeMs, game.playTimeMs + int(dtMs));
}

}  // namespace

void stepGame(GameState& game, float dtMs) {
    game.animationClockMs += dtMs;
    if (game.mainButtonDown) game.mainButtonHeldMs += dtMs;
    if (!game.demo) {
        stepSequences(game, dtMs);
        checkLevelComplete(game);
        checkDefeat(game);
    }
    // The flying ball's start cell keeps its piece until the landing; any
    // other selection goes with its piece.
    const bool flyingSelected = game.moveInFlight && game.selected == game.moveFrom;
    if (game.selected.valid() && !flyingSelected && !game.board.at(game.selected).hasPiece())
        game.selected = kNoCell;
    stepCells(game, dtMs);
    stepRefusal(game, dtMs);
    stepFlight(game, dtMs);
    stepScoreItems(game, dtMs);
    stepSparks(game, dtMs);
    if (game.demo) return;
    stepLevelBar(game, dtMs);
    stepActionDrain(game, dtMs);
    checkBoardCleared(game);
    stepIdleHint(game, dtMs);
    stepAmbient(game, dtMs);
    stepPlayTime(game, dtMs);
    if (!game.running) game.pausedMs += dtMs;
    if (game.resumeShadeMs > 0) game.resumeShadeMs = std::max(0.0f, game.resumeShadeMs - dtMs);
    game.livesShown = game.host->lives();
}

// ---------------------------------------------------------------------------
// Input in play

void pauseGame(GameState& game) {
    game.running = false;
    game.pausedMs = 0;
    game.hint.timeLeftMs = 0;
}

void resumeGame(GameState& game) {
    if (game.running) return;
    game.running = true;
    game.resumeShadeMs = kResumeShadeMs;
}

void giveUp(GameState& game) {
    if (endSequenceRunning(game) || game.defeatTimer != 0) return;
    if (!game.running) resumeGame(game);
    startDefeat(game);
}

void completeLevelNow(GameState& game) {
    game.barRemaining = 0;
    flattenSquares(game.board);
}

bool showHint(GameState& game) {
    CellRef ball, target;
    if (!findHint(game, ball, target)) return false;
    game.hint = {ball, target, kHintShowMs};
    return true;
}

void sweepAllPieces(GameState& game) {
    beginScoreGroup(game);
    clearAllPieces(game);
    game.tallies = {};
}

std::string cheatSavePath() { return g_cheatSaveFolder.empty() ? std::string() : g_cheatSaveFolder + "/cheat.sav"; }

namespace {

// A click or key after a finished stage, while paused: back to the menus,
// except during the first seconds of the game-passed display.
bool leaveAfterStage(GameState& game) {
    if (game.completeTimer != -1 || !game.stageCompleted || game.running) return false;
    if (game.gamePassed && game.pausedMs < kCongratulationsLockMs) return true;
    const int mode = modeNumber(game.mode);
    if (game.gamePassed) {
        game.host->leavePlay("main", (mode + 1) % 3);
    } else {
        static constexpr const char* kModeScreens[3] = {"mode1", "mode2", "mode3"};
        game.host->leavePlay(kModeScreens[mode], mode);
    }
    return true;
}

bool shortenSequence(GameState& game) {
    bool shortened = false;
    if (game.completeTimer > 0) {
        game.completeTimer = 1;
        shortened = true;
    }
    if (game.defeatTimer > 0) {
        game.defeatTimer = 1;
        shortened = true;
    }
    return shortened;
}

}  // namespace

bool takeClickForFlow(GameState& game, base::Vec2 cursor) {
    if (shortenSequence(game)) return true;
    if (leaveAfterStage(game)) return true;
    if (game.moveInFlight) {
        pressBoardInFlight(game, cursor);
        return true;
    }
    if (!game.running) {
        resumeGame(game);
        return true;
    }
    return false;
}

void leftButtonDown(GameState& game, base::Vec2 cursor) {
    if (takeClickForFlow(game, cursor)) return;
    if (inHammerButton(cursor)) {
        armHammer(game);
        return;
    }
    if (game.cursorMode == CursorMode::Hammer) {
        strikeHammer(game, cursor);
        return;
    }
    pressBoard(game, cursor);
}

void leftButtonUp(GameState& game, base::Vec2 cursor) {
    if (!game.running) {
        game.mainButtonDown = false;
        return;
    }
    releaseBoard(game, cursor);
}

void leftDoubleClick(GameState& game, base::Vec2 cursor) {
    if (endSequenceRunning(game) || !game.running) return;
    doubleClickBoard(game, cursor);
}

void rightButtonDown(GameState& game) {
    game.rightButtonHeld = true;
    if (!game.running) {
        resumeGame(game);
        return;
    }
    deselect(game);
    if (game.cursorMode == CursorMode::Hammer) game.cursorMode = CursorMode::Normal;
}

void rightButtonUp(GameState& game) { game.rightButtonHeld = false; }

void middleButtonDown(GameState& game) {
    if (!game.cheatKeys) return;
    game.hammerCharge = std::min(1.0f, game.hammerCharge + 0.2f);
}

void keyDown(GameState& game, int key) {
    if (shortenSequence(game)) return;
    if (leaveAfterStage(game)) return;
    if (!game.running) {
        resumeGame(game);
        return;
    }
    if (key == kKeySpace) {
        pauseGame(game);
        return;
    }
    if (key == kKeyEscape) {
        game.host->openScreen("gameplay");
        return;
    }
    if (key >= '1' && key <= '3') {
        game.host->setScene(key - '1');
        return;
    }
    if (!game.cheatKeys) return;
    switch (key) {
        case 'C': game.host->setLives(2); break;
        case 'E': sweepAllPieces(game); break;
        case 'H': showHint(game); break;
        case 'L':
            if (!cheatSavePath().empty()) loadGame(game, cheatSavePath());
            break;
        case 'S':
            if (!cheatSavePath().empty()) saveGame(game, cheatSavePath());
            break;
        case 'N': completeLevelNow(game); break;
        case 'T': game.debugDisplay = !game.debugDisplay; break;
        case 'X':
            announceBall(game);
            arriveBalls(game);
            break;
        case 'Z': addScore(game, kAwardScorePoint, 10000); break;
        default: break;
    }
}

}  // namespace tessaly::game
