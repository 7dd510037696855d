"""Harness of the end-to-end suite: a virtual display, a sound server, a wine prefix and a
test driver, all started and stopped by the tests themselves."""
