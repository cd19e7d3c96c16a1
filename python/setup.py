"""Builds the orvo package with pip: ``pip install ./python`` from the project root.

The extension module ``orvo._orvo`` is built by the project's own CMake build
(the library, the file modules and the binding), and only the finished module
is copied into the package; the package's Python files come from ``orvo/``
beside this file.

The CMake project is the parent of this directory. pip (21.3 and later) builds
a local directory in place, so that parent is the project's source tree; a pip
that first copied ``python/`` elsewhere would leave it behind, and the build
stops with a message saying so.

Extra CMake arguments: the environment variable ORVO_CMAKE_ARGS (split like a
shell command line), e.g. ``ORVO_CMAKE_ARGS="-DCMAKE_CXX_COMPILER=clang++"``.
Parallel jobs: ``build_ext -j N``, else CMAKE_BUILD_PARALLEL_LEVEL, else 2.
"""

import glob
import hashlib
import os
import re
import shlex
import shutil
import subprocess
import sys
import sysconfig
import tempfile

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext
from setuptools.errors import SetupError

try:
    from setuptools.command.build import build
except ImportError:  # setuptools before 62.4
    from distutils.command.build import build

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

DEBIAN_PACKAGES = "cmake g++ pybind11-dev libcli11-dev python3-dev python3-numpy"


def project_version():
    """The version of the project() line of the top-level CMakeLists.txt."""
    path = os.path.join(ROOT, "CMakeLists.txt")
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        raise SetupError(
            f"{path} not found: python/ must be built inside the Orvo source tree "
            "(pip install ./python from the project root)"
        ) from None
    m = re.search(r"project\(\s*orvo\s+VERSION\s+([0-9][0-9.]*)", text)
    if not m:
        raise SetupError(f"no 'project(orvo VERSION x.y.z' line in {path}")
    return m.group(1)


def build_base():
    """A build directory outside the source tree, one per tree, interpreter
    and ORVO_CMAKE_ARGS.

    setuptools would otherwise write build/ and orvo.egg-info/ into python/.
    The directory is kept between installs so that a reinstall rebuilds only
    what changed; other CMake arguments get a fresh one, since CMake's cache
    would keep a setting after it was dropped from ORVO_CMAKE_ARGS.
    """
    ident = "\0".join([ROOT, sys.executable, sys.version, os.environ.get("ORVO_CMAKE_ARGS", "")])
    key = hashlib.sha256(ident.encode()).hexdigest()[:12]
    user = os.getuid() if hasattr(os, "getuid") else "user"
    path = os.path.join(tempfile.gettempdir(), f"orvo-pybuild-{user}-{key}")
    os.makedirs(path, exist_ok=True)  # egg_info requires an existing egg_base
    return path


class FreshBuild(build):
    """Empties build_lib first: it outlives the install, and a file dropped
    from the package must not reach the next wheel from there."""

    def run(self):
        shutil.rmtree(self.build_lib, ignore_errors=True)
        super().run()


class CMakeExtension(Extension):
    """An extension module built by a CMake target of the project."""

    def __init__(self, name, target):
        super().__init__(name, sources=[])
        self.target = target


class CMakeBuild(build_ext):
    """Configures the project with CMake, builds one target, copies the module."""

    def run(self):
        if shutil.which("cmake") is None:
            raise SetupError(
                "cmake was not found on PATH: building the orvo package needs CMake 3.16 "
                f"or later and a C++17 compiler (Debian: apt install {DEBIAN_PACKAGES})"
            )
        super().run()

    def build_extension(self, ext):
        build_dir = os.path.join(os.path.abspath(self.build_temp), "cmake")
        os.makedirs(build_dir, exist_ok=True)
        configure = [
            "cmake",
            "-S", ROOT,
            "-B", build_dir,
            "-DCMAKE_BUILD_TYPE=Release",
            "-DORVO_BUILD_PYTHON=ON",
            "-DORVO_BUILD_TESTS=OFF",
            "-DORVO_BUILD_EXAMPLES=OFF",
            "-DORVO_BUILD_BENCHMARKS=OFF",
            # The module must be built for the interpreter pip runs under;
            # without this the project's CMake prefers /usr/bin/python3.
            f"-DPython3_EXECUTABLE={sys.executable}",
        ]
        configure += shlex.split(os.environ.get("ORVO_CMAKE_ARGS", ""))
        self._run(configure, "configuring the project with CMake failed. It needs pybind11, "
                  "CLI11 and the Python headers and numpy for the interpreter "
                  f"{sys.executable} (Debian: apt install {DEBIAN_PACKAGES}); extra CMake "
                  "arguments, e.g. -Dpybind11_DIR=..., go in ORVO_CMAKE_ARGS")

        build = ["cmake", "--build", build_dir, "--target", ext.target]
        if self.parallel:
            build += ["--parallel", str(self.parallel)]
        elif not os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL"):
            build += ["--parallel", "2"]
        self._run(build, f"building the CMake target {ext.target} failed")

        # The CMake build lays the module out in <build>/python/orvo.
        suffix = sysconfig.get_config_var("EXT_SUFFIX")
        built = os.path.join(build_dir, "python", "orvo", ext.target + suffix)
        if not os.path.isfile(built):
            found = glob.glob(os.path.join(build_dir, "python", "orvo", ext.target + "*.so"))
            raise SetupError(
                f"the CMake build did not make {built} (found: {found or 'nothing'}): "
                f"was it configured for another interpreter than {sys.executable}?"
            )
        dest = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        shutil.copyfile(built, dest)

    @staticmethod
    def _run(cmd, failure):
        print(" ".join(shlex.quote(c) for c in cmd), flush=True)
        try:
            subprocess.run(cmd, check=True)
        except subprocess.CalledProcessError:
            raise SetupError(failure) from None


BUILD_BASE = build_base()

setup(
    version=project_version(),
    ext_modules=[CMakeExtension("orvo._orvo", target="_orvo")],
    cmdclass={"build": FreshBuild, "build_ext": CMakeBuild},
    options={"build": {"build_base": BUILD_BASE}, "egg_info": {"egg_base": BUILD_BASE}},
    zip_safe=False,
)
