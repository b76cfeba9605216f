// The score line's digit form on disk.
#pragma once
