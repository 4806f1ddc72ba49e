// placeholder, replaced by the binding layer
#include <Python.h>
static PyModuleDef def = {PyModuleDef_HEAD_INIT, "corvanthium_rs", nullptr, -1, nullptr, nullptr, nullptr, nullptr, nullptr};
PyMODINIT_FUNC PyInit_corvanthium_rs(void) { return PyModule_Create(&def); }
