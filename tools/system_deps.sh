#!/bin/sh
# Checks the system packages that building (build) or also testing (test)
# needs, by trying them: a C++ compiler, GMP's header, GoogleTest's header,
# Chromium (the viewer test).
# What is missing is named with its Debian package and installed with
# apt-get; as root directly, otherwise through sudo after saying why.
# NO_SUDO=1 only prints the command; so does a machine without apt-get.
#
#     sh tools/system_deps.sh build|test
set -eu

cxx=${CXX:-g++}
compiles() { # header: is it found by the compiler?
	command -v "$cxx" >/dev/null 2>&1 &&
		printf '#include <%s>\n' "$1" | "$cxx" -std=c++20 -E -x c++ - >/dev/null 2>&1
}

missing=""
command -v "$cxx" >/dev/null 2>&1 || missing="$missing g++"
compiles gmp.h || missing="$missing libgmp-dev"
if [ "${1:-build}" = test ]; then
	compiles gtest/gtest.h || missing="$missing libgtest-dev"
	# The viewer test opens the HTML page in a real browser.
	command -v chromium >/dev/null 2>&1 || missing="$missing chromium"
fi
# Not needed, but with it a rebuild or a second checkout reuses the objects
# compiled before: installed along with the rest, or alone when root.
if ! command -v ccache >/dev/null 2>&1; then
	if [ -n "$missing" ]; then
		missing="$missing ccache"
	elif [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
		echo "installing ccache (apt-get install ccache), so that rebuilds reuse compiled objects"
		apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ccache || true
	else
		echo "hint: with ccache installed (apt-get install ccache), rebuilds reuse compiled objects"
	fi
fi
[ -z "$missing" ] && exit 0

why="corvanthium's C++ build needs a C++20 compiler and GMP (the tests also GoogleTest, and Chromium for the viewer test; ccache makes rebuilds fast)"
echo "$why; missing here, as Debian packages:$missing"
if ! command -v apt-get >/dev/null 2>&1; then
	echo "No apt-get on this machine: install the same with its package manager (g++ 10 or later, GMP's headers)."
	exit 1
fi
if [ "$(id -u)" = 0 ]; then
	echo "installing them: apt-get install$missing"
	apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
elif [ -n "${NO_SUDO:-}" ] || ! command -v sudo >/dev/null 2>&1; then
	echo "Install them, then run make again: sudo apt-get install$missing"
	exit 1
else
	echo "installing them with sudo, as apt-get needs root (NO_SUDO=1 make ... to do it yourself):"
	echo "    sudo apt-get install$missing"
	sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
fi
