#pragma once
// Undoable changes to the open model collection, for one QUndoStack per open
// file. A command names its model by the model's place in the collection and
// an element by its place in the model: the history replays changes strictly
// in order, so a place always means the same thing when the command runs,
// even for a model that was deleted and has come back as a new object.

#include <QUndoCommand>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bbx_collection.h"

namespace editor {

// The window that owns the collection, as the commands see it.
class TCollectionHost {
public:
    virtual bbx::Tbbx_collection& Models() = 0;
    // A model is about to leave the collection: whatever shows it goes first.
    virtual void ModelLeaving(const bbx::Tbbx_model& model) = 0;
    // Adds the command to the history (running it unless it says it has
    // already been applied), after any edit still in progress.
    virtual void Record(std::unique_ptr<QUndoCommand> command) = 0;

protected:
    ~TCollectionHost() = default;
};

// A model's own values, without its elements.
struct TModelProps {
    std::string Name;
    std::int32_t ID = 0;
    float I1 = 0;
    float I2 = 0;
};

// A whole model: its values and its elements.
struct TModelSnapshot {
    TModelProps Props;
    std::vector<bbx::TSphereElement> Elements;
};

TModelProps PropsOf(const bbx::Tbbx_model& model);
TModelSnapshot SnapshotOf(const bbx::Tbbx_model& model);
// Bit for bit, so that a NaN equals itself and -0 differs from 0.
bool SameProps(const TModelProps& a, const TModelProps& b);
bool SameElement(const bbx::TSphereElement& a, const bbx::TSphereElement& b);

// The element at that place goes from `before` to `after`. With applied the
// change is already in the model (a finished edit) and the first run does
// nothing.
std::unique_ptr<QUndoCommand> SetElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element,
                                                const bbx::TSphereElement& before, const bbx::TSphereElement& after,
                                                bool applied);
std::unique_ptr<QUndoCommand> InsertElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element,
                                                   const bbx::TSphereElement& value);
std::unique_ptr<QUndoCommand> RemoveElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element);

std::unique_ptr<QUndoCommand> SetPropsCommand(TCollectionHost& host, std::int32_t model, const TModelProps& before,
                                              const TModelProps& after, bool applied);
std::unique_ptr<QUndoCommand> InsertModelCommand(TCollectionHost& host, std::int32_t model, TModelSnapshot value);
std::unique_ptr<QUndoCommand> RemoveModelCommand(TCollectionHost& host, std::int32_t model);
std::unique_ptr<QUndoCommand> ExchangeModelsCommand(TCollectionHost& host, std::int32_t a, std::int32_t b);

}  // namespace editor
