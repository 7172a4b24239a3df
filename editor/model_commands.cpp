#include "editor/model_commands.h"

#include <cstring>
#include <utility>

namespace editor {
namespace {

bbx::Tbbx_model& ModelAt(TCollectionHost& host, std::int32_t i) { return *host.Models().Items(i); }

void ApplyProps(bbx::Tbbx_model& model, const TModelProps& props) {
    model.Name = props.Name;
    model.ID = props.ID;
    model.I1 = props.I1;
    model.I2 = props.I2;
}

void PutElement(bbx::Tbbx_model& model, std::int32_t at, const bbx::TSphereElement& value) {
    model.AddElement(value);
    for (std::int32_t k = model.Count() - 1; k > at; --k) model.SetElement(k, model.GetElement(k - 1));
    model.SetElement(at, value);
}

void PutModel(bbx::Tbbx_collection& models, std::int32_t at, const TModelSnapshot& value) {
    bbx::Tbbx_model& model = *models.Add();
    ApplyProps(model, value.Props);
    for (const bbx::TSphereElement& e : value.Elements) model.AddElement(e);
    for (std::int32_t k = models.Count() - 1; k > at; --k) models.Exchange(k, k - 1);
}

// A change that may already be in the model when it is recorded (a finished
// edit): then its first run does nothing.
class TChange : public QUndoCommand {
protected:
    TChange(const QString& text, bool applied) : QUndoCommand(text), Applied(applied) {}
    bool AlreadyApplied() { return std::exchange(Applied, false); }

private:
    bool Applied;
};

class TSetElement : public TChange {
public:
    TSetElement(TCollectionHost& host, std::int32_t model, std::int32_t element, const bbx::TSphereElement& before,
                const bbx::TSphereElement& after, bool applied)
        : TChange(QString::fromUtf8("Zmiana elementu"), applied), Host(host), Model(model), Element(element),
          Before(before), After(after) {}
    void redo() override {
        if (!AlreadyApplied()) ModelAt(Host, Model).SetElement(Element, After);
    }
    void undo() override { ModelAt(Host, Model).SetElement(Element, Before); }

private:
    TCollectionHost& Host;
    std::int32_t Model;
    std::int32_t Element;
    bbx::TSphereElement Before;
    bbx::TSphereElement After;
};

class TSetProps : public TChange {
public:
    TSetProps(TCollectionHost& host, std::int32_t model, TModelProps before, TModelProps after, bool applied)
        : TChange(QString::fromUtf8("Zmiana modelu"), applied), Host(host), Model(model), Before(std::move(before)),
          After(std::move(after)) {}
    void redo() override {
        if (!AlreadyApplied()) ApplyProps(ModelAt(Host, Model), After);
    }
    void undo() override { ApplyProps(ModelAt(Host, Model), Before); }

private:
    TCollectionHost& Host;
    std::int32_t Model;
    TModelProps Before;
    TModelProps After;
};

// Inserting and removing undo each other: one class runs either way round.
class TElementPresence : public QUndoCommand {
public:
    TElementPresence(TCollectionHost& host, std::int32_t model, std::int32_t element, const bbx::TSphereElement& value,
                     bool inserting)
        : QUndoCommand(QString::fromUtf8(inserting ? "Wstawienie elementu" : "Usunięcie elementu")), Host(host),
          Model(model), Element(element), Value(value), Inserting(inserting) {}
    void redo() override { Inserting ? Put() : Take(); }
    void undo() override { Inserting ? Take() : Put(); }

private:
    void Put() { PutElement(ModelAt(Host, Model), Element, Value); }
    void Take() { ModelAt(Host, Model).DeleteElement(Element); }

    TCollectionHost& Host;
    std::int32_t Model;
    std::int32_t Element;
    bbx::TSphereElement Value;
    bool Inserting;
};

class TModelPresence : public QUndoCommand {
public:
    TModelPresence(TCollectionHost& host, std::int32_t model, TModelSnapshot value, bool inserting)
        : QUndoCommand(QString::fromUtf8(inserting ? "Dodanie modelu" : "Usunięcie modelu")), Host(host), Model(model),
          Value(std::move(value)), Inserting(inserting) {}
    void redo() override { Inserting ? Put() : Take(); }
    void undo() override { Inserting ? Take() : Put(); }

private:
    void Put() { PutModel(Host.Models(), Model, Value); }
    void Take() {
        Host.ModelLeaving(ModelAt(Host, Model));
        Host.Models().Delete(Model);
    }

    TCollectionHost& Host;
    std::int32_t Model;
    TModelSnapshot Value;
    bool Inserting;
};

class TExchangeModels : public QUndoCommand {
public:
    TExchangeModels(TCollectionHost& host, std::int32_t a, std::int32_t b)
        : QUndoCommand(QString::fromUtf8("Przesunięcie modelu")), Host(host), A(a), B(b) {}
    void redo() override { Host.Models().Exchange(A, B); }
    void undo() override { Host.Models().Exchange(A, B); }

private:
    TCollectionHost& Host;
    std::int32_t A;
    std::int32_t B;
};

}  // namespace

TModelProps PropsOf(const bbx::Tbbx_model& model) { return {model.Name, model.ID, model.I1, model.I2}; }

TModelSnapshot SnapshotOf(const bbx::Tbbx_model& model) { return {PropsOf(model), model.ElementList()}; }

bool SameProps(const TModelProps& a, const TModelProps& b) {
    return a.Name == b.Name && a.ID == b.ID && std::memcmp(&a.I1, &b.I1, sizeof a.I1) == 0 &&
           std::memcmp(&a.I2, &b.I2, sizeof a.I2) == 0;
}

bool SameElement(const bbx::TSphereElement& a, const bbx::TSphereElement& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::unique_ptr<QUndoCommand> SetElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element,
                                                const bbx::TSphereElement& before, const bbx::TSphereElement& after,
                                                bool applied) {
    return std::make_unique<TSetElement>(host, model, element, before, after, applied);
}

std::unique_ptr<QUndoCommand> InsertElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element,
                                                   const bbx::TSphereElement& value) {
    return std::make_unique<TElementPresence>(host, model, element, value, true);
}

std::unique_ptr<QUndoCommand> RemoveElementCommand(TCollectionHost& host, std::int32_t model, std::int32_t element) {
    return std::make_unique<TElementPresence>(host, model, element, ModelAt(host, model).GetElement(element), false);
}

std::unique_ptr<QUndoCommand> SetPropsCommand(TCollectionHost& host, std::int32_t model, const TModelProps& before,
                                              const TModelProps& after, bool applied) {
    return std::make_unique<TSetProps>(host, model, before, after, applied);
}

std::unique_ptr<QUndoCommand> InsertModelCommand(TCollectionHost& host, std::int32_t model, TModelSnapshot value) {
    return std::make_unique<TModelPresence>(host, model, std::move(value), true);
}

std::unique_ptr<QUndoCommand> RemoveModelCommand(TCollectionHost& host, std::int32_t model) {
    return std::make_unique<TModelPresence>(host, model, SnapshotOf(ModelAt(host, model)), false);
}

std::unique_ptr<QUndoCommand> ExchangeModelsCommand(TCollectionHost& host, std::int32_t a, std::int32_t b) {
    return std::make_unique<TExchangeModels>(host, a, b);
}

}  // namespace editor
