#include "python/callables.h"

#include "python/binding.h"
#include "python/boundary.h"
#include "python/conversion.h"

namespace corv::py {

PyObject* invoke(const Entry& entry, const char* owner, const corv::Solid* self, PyObject* args,
                 PyObject* kwargs) noexcept {
    if (owner != nullptr && self == nullptr) {
        PyErr_Format(PyExc_TypeError, "%s.%s() needs a %s instance", owner, entry.name, owner);
        return nullptr;
    }
    try {
        // The bound references keep every argument (such as another PySolid)
        // alive until the implementation has returned.
        std::optional<std::vector<PyRef>> bound = bind_arguments({owner, entry.name, entry.params}, args, kwargs);
        if (!bound) return nullptr;
        Call call{self, {}};
        call.args.values.reserve(entry.params.size());
        for (std::size_t i = 0; i < entry.params.size(); ++i) {
            Value value;
            if (!convert_argument(entry.params[i], (*bound)[i].get(), value)) return nullptr;
            call.args.values.push_back(std::move(value));
        }
        return entry.impl(call);
    } catch (...) {
        raise_current_exception();
        return nullptr;
    }
}

}  // namespace corv::py
