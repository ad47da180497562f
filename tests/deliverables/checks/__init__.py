"""The checks of check_deliverables.py, one module for each subject."""
