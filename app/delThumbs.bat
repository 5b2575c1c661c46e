@echo off
rem Removes the hidden thumbnail caches (Thumbs.db) below the user's own profile folder and
rem nothing else: the search never follows a link out of the profile.
"%~dp0hushmark-cli.exe" thumbs
