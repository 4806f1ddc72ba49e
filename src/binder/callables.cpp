#include "binder/callables.h"

#include "binder/binding.h"
#include "binder/conversion.h"

namespace corv::binder {

PyObject* invoke(const Surface& surface, std::size_t index, PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
    const Entry& entry = surface.entries[index];
    const Receiver* receiver = surface.receiver;
    const void* native = nullptr;
    if (receiver != nullptr) {
        native = receiver->unwrap(self);
        if (native == nullptr) {
            PyErr_Format(PyExc_TypeError, "%s.%s() needs a %s instance", receiver->class_name, entry.name,
                         receiver->class_name);
            return nullptr;
        }
    }
    try {
        // The bound references keep every argument (such as another native
        // object) alive until the implementation has returned.
        const char* owner = receiver != nullptr ? receiver->class_name : nullptr;
        std::optional<std::vector<PyRef>> bound = bind_arguments({owner, entry.name, entry.params}, args, kwargs);
        if (!bound) return nullptr;
        begin_conversion();
        Call call{native, {}};
        call.args.values.reserve(entry.params.size());
        for (std::size_t i = 0; i < entry.params.size(); ++i) {
            Value value;
            if (!convert_argument(entry.params[i], (*bound)[i].get(), value)) return nullptr;
            call.args.values.push_back(std::move(value));
        }
        return surface.run != nullptr ? surface.run(entry.impl, call) : entry.impl(call);
    } catch (...) {
        surface.raise_current_exception();
        return nullptr;
    }
}

}  // namespace corv::binder
