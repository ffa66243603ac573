#pragma once
// Reading and writing Editor.bat and Compiler.bat.
