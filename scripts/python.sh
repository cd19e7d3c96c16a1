#!/usr/bin/env bash
# Prints ON when the Python package can be built and tested here (the
# system interpreter with numpy and pytest, pybind11's CMake package and the
# Python headers), else OFF.
have_pybind11() {
  [ -f /usr/lib/cmake/pybind11/pybind11Config.cmake ] ||
    [ -f /usr/share/cmake/pybind11/pybind11Config.cmake ]
}
if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c "import numpy, pytest" 2>/dev/null &&
  have_pybind11 && [ -n "$(ls /usr/include/python3*/Python.h 2>/dev/null)" ]; then
  echo ON
else
  echo OFF
fi
