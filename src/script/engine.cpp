// The Engine facade over the interpreter: host names, compiling, running and evaluating, with
// every failure returned as ScriptErrorInfo.
#include "script/engine.h"

#include "script/interpreter.h"

namespace vendil {

class CompiledScript {
 public:
  std::shared_ptr<const Program> program;
  const Interpreter* owner = nullptr;
};

class Engine::Impl {
 public:
  explicit Impl(HostCallbacks& host) : interp(host) {}
  Interpreter interp;
};

Engine::Engine(HostCallbacks& host) : impl_(std::make_unique<Impl>(host)) {}
Engine::~Engine() {
  // The script ends with the engine: objects it still holds are terminated while the engine
  // can still run their code.
  Interpreter& interp = impl_->interp;
  interp.Protect([&] { interp.ReleaseGlobals(); });
}

void Engine::AddObject(std::u16string_view name, std::shared_ptr<ScriptObject> object) {
  GlobalEntry& entry = impl_->interp.GlobalFor(name);
  entry.kind = GlobalKind::HostObject;
  entry.declared = true;
  entry.value = Variant::Object(std::move(object));
}

void Engine::AddGlobalProcedure(std::u16string_view name, int minArgs, int maxArgs,
                                HostProcedure procedure) {
  GlobalEntry& entry = impl_->interp.GlobalFor(name);
  entry.kind = GlobalKind::HostProcedure;
  entry.declared = true;
  entry.host = std::move(procedure);
  entry.minArgs = minArgs;
  entry.maxArgs = maxArgs;
}

std::optional<ScriptErrorInfo> Engine::AddCode(std::u16string_view code) {
  CompileResult compiled = Compile(code);
  if (compiled.error) return compiled.error;
  return Run(*compiled.script);
}

Engine::CompileResult Engine::Compile(std::u16string_view code) {
  Interpreter& interp = impl_->interp;
  CompileResult result;
  std::shared_ptr<Program> program;
  result.error = interp.Protect([&] { program = interp.Compile(code, false, nullptr, nullptr); });
  if (result.error) return result;
  auto script = std::make_shared<CompiledScript>();
  script->program = std::move(program);
  script->owner = &interp;
  result.script = std::move(script);
  return result;
}

std::optional<ScriptErrorInfo> Engine::Run(const CompiledScript& script) {
  Interpreter& interp = impl_->interp;
  if (script.owner != &interp) {
    ScriptErrorInfo info;
    info.number = 5;
    info.description = u"The script was compiled by another engine";
    return info;
  }
  interp.KeepProgram(script.program);
  return interp.Protect([&] {
    interp.Define(*script.program);
    interp.RunTopLevel(*script.program);
  });
}

std::variant<Variant, ScriptErrorInfo> Engine::Eval(std::u16string_view expression) {
  Interpreter& interp = impl_->interp;
  Variant value;
  auto error = interp.Protect([&] { value = interp.EvalText(expression, false); });
  if (error) return *error;
  return value;
}

std::optional<Variant> Engine::GlobalValue(std::u16string_view name) const {
  GlobalEntry* entry = impl_->interp.FindGlobal(name);
  if (!entry) return std::nullopt;
  switch (entry->kind) {
    case GlobalKind::Variable:
      if (!entry->declared) return std::nullopt;
      return entry->value;
    case GlobalKind::Constant:
    case GlobalKind::HostObject:
      return entry->value;
    default:
      return std::nullopt;
  }
}

int Engine::CurrentLine() const {
  const Interpreter& interp = impl_->interp;
  return interp.stackBase ? interp.CurrentFrame().position.line : 0;
}

void Engine::SetMaxCallDepth(int depth) { impl_->interp.maxDepth = depth; }

void Engine::SetMaxValueBytes(size_t bytes) { impl_->interp.maxValueBytes = bytes; }

void Engine::SetMaxHeldBytes(size_t bytes) { impl_->interp.maxHeldBytes = bytes; }

}  // namespace vendil
