"""The package's version, read by the build for the wheel's metadata too."""

__version__ = "0.1.0"
