-- Shared by the session scripts of the sidechain check: the exported range,
-- the export itself and the look-ups of processors and parameters.

Check = {
	rate = 48000,
	seconds = 4,       -- exported; the key tone is loud in the first half, silent in the second
	preset = "0e2d6a55-8a43-4c4e-b1b5-3f7a9c2d8e10",
	-- run_export () returns before Ardour has finished with the export in
	-- the background; going on earlier corrupts Ardour's heap now and then.
	settle_us = tonumber (os.getenv ("TARVO_ARDOUR_EXPORT_SETTLE_MS") or "4000") * 1000,
	loud = 0.9,
}

-- Exports the master bus over the check range as <folder>/<name>.wav.
function Check.export (folder, name)
	local e = Session:simple_export ()
	e:set_name (name)
	e:set_folder (folder)
	e:set_range (0, Check.seconds * Check.rate)
	assert (e:set_preset (Check.preset), "the float WAV export preset is missing")
	local ok = e:run_export ()
	ARDOUR.LuaAPI.usleep (Check.settle_us)
	assert (ok, "export of " .. name .. " failed")
	print ("exported " .. folder .. "/" .. name .. ".wav")
end

-- Index of a plug-in parameter as set_processor_param counts them: control
-- parameters only, in the plug-in's order.
function Check.param_index (proc, label)
	local plug = proc:to_plugininsert ():plugin (0)
	local n = 0
	for j = 0, plug:parameter_count () - 1 do
		if plug:parameter_is_control (j) then
			if plug:parameter_label (j) == label then return n end
			n = n + 1
		end
	end
	error ("the plug-in has no parameter '" .. label .. "'")
end

function Check.processor (route, name)
	for i = 0, 16 do
		local p = route:nth_plugin (i)
		if p:isnil () then break end
		if p:display_name () == name then return p end
	end
	error (route:name () .. " has no processor '" .. name .. "'")
end

-- Lets the engine run for a while, as a user's session does between edits.
function Check.run_for (ms)
	ARDOUR.LuaAPI.usleep (ms * 1000)
end

-- Automates the key tone's Level: loud for the first half of the exported
-- range, silent from the middle on (with a 50 ms step down), so one export
-- holds both cases and the automation plays back the same after reopening.
function Check.key_automation (key)
	local al, cl, pd = ARDOUR.LuaAPI.plugin_automation (key, 1)
	assert (not al:isnil (), "the key tone's level cannot be automated")
	local half = Check.seconds * Check.rate // 2
	local step = Check.rate // 20
	cl:clear_list ()
	for _, point in ipairs ({ { 0, Check.loud }, { half - step, Check.loud }, { half, 0 }, { 2 * half, 0 } }) do
		cl:add (Temporal.timepos_t (point[1]), point[2], false, false)
	end
	local ac = key:to_automatable ():automation_control (
		Evoral.Parameter (ARDOUR.AutomationType.PluginAutomation, 0, 1), false)
	assert (not ac:isnil (), "the key tone's level has no automation control")
	ac:set_automation_state (ARDOUR.AutoState.Play)
end
